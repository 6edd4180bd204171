#include "MainWindowFixture.h"

namespace {

constexpr Pixel Blue{0, 0, 255};
constexpr Pixel Green{0, 255, 0};
constexpr std::int32_t BlueValue = 0xFF0000;
constexpr std::int32_t RedValue = 0x0000FF;
const QColor ShownRed(255, 0, 0);
const QColor ShownGreen(0, 255, 0);

} // namespace

class SizeOptionsTest : public MainWindowFixture {
protected:
    // Starts on a green 16 x 15 icon, converting blue to red.
    void startOnIcon() {
        pictures.write("icon.bmp", makeBmp24(16, 15, Green));
        rememberPictureFolder(BlueValue, RedValue);
        start();
    }
    QImage afterImage() const { return window->Image1[1]->Picture(); }
    void expectOptionsEnabled(bool enabled) const {
        EXPECT_EQ(window->Option1[0]->Enabled(), enabled);
        EXPECT_EQ(window->Option1[1]->Enabled(), enabled);
        EXPECT_TRUE(window->Frame4->isEnabled());
        EXPECT_TRUE(window->Check2->Enabled());
    }
};

TEST_F(SizeOptionsTest, TheCheckBoxRedoesThePreviewAndSwitchesTheOptions) {
    startOnIcon();
    ASSERT_EQ(afterImage().size(), QSize(16, 16));

    window->Check2->click();
    EXPECT_EQ(window->Check2->Value(), 0);
    EXPECT_EQ(afterImage().size(), QSize(16, 15));
    expectOptionsEnabled(false);

    window->Check2->click();
    EXPECT_EQ(afterImage().size(), QSize(16, 16));
    EXPECT_EQ(afterImage().pixelColor(0, 0), ShownRed);
    expectOptionsEnabled(true);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SizeOptionsTest, TheOtherOptionMovesTheRowToTheOtherEdge) {
    startOnIcon();

    window->Option1[1]->click();
    EXPECT_EQ(afterImage().pixelColor(0, 0), ShownGreen);
    EXPECT_EQ(afterImage().pixelColor(0, 15), ShownRed);

    window->Option1[0]->click();
    EXPECT_EQ(afterImage().pixelColor(0, 0), ShownRed);
    EXPECT_EQ(afterImage().pixelColor(0, 15), ShownGreen);
    EXPECT_EQ(pictures.names(), std::vector<std::string>{"icon.bmp"});
}

TEST_F(SizeOptionsTest, WithAnEmptyListTheCheckBoxOnlyClearsThePreview) {
    rememberPictureFolder(BlueValue, RedValue);
    start();

    window->Check2->click();
    EXPECT_TRUE(afterImage().isNull());
    expectOptionsEnabled(false);
    EXPECT_TRUE(dialogs.messages.empty());
}
