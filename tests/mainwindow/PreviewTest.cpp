#include "MainWindowFixture.h"
#include "PreviewTexts.h"

#include <filesystem>

namespace {

constexpr Pixel Blue{0, 0, 255};
constexpr Pixel Green{0, 255, 0};
constexpr Pixel Red{255, 0, 0};
constexpr std::int32_t BlueValue = 0xFF0000;
constexpr std::int32_t RedValue = 0x0000FF;

QColor toQColor(Pixel pixel) {
    return QColor(pixel.red, pixel.green, pixel.blue);
}

} // namespace

class PreviewTest : public MainWindowFixture {
protected:
    // Starts on the picture folder converting blue to red.
    void startBlueToRed() {
        rememberPictureFolder(BlueValue, RedValue);
        start();
    }
    QColor afterPixel(int x, int y) const { return window->Image1[1]->Picture().pixelColor(x, y); }
};

TEST(PreviewTexts, FormatSizesAndDimensions) {
    EXPECT_EQ(PreviewTexts::sizeText(774), "774バイト");
    EXPECT_EQ(PreviewTexts::sizeText(1234567), "1,234,567バイト");
    EXPECT_EQ(PreviewTexts::sizeText(0), "バイト");
    EXPECT_EQ(PreviewTexts::sizeText(100000), "100,000バイト");
    EXPECT_EQ(PreviewTexts::dimensionText(16, -16), "16×-16");
}

TEST_F(PreviewTest, ShowsTheConversionAndLeavesTheFolderAsItWas) {
    auto picture = makeBmp24(3, 2, Blue);
    setPixel(picture, 1, 0, Green);
    pictures.write("a.bmp", picture);
    startBlueToRed();

    EXPECT_EQ(panel(1), "3×2");
    EXPECT_EQ(panel(2), "78バイト");
    EXPECT_EQ(panel(3), pictureFolderText() + "/a.bmp");
    EXPECT_EQ(window->Image1[0]->Picture().pixelColor(0, 0), toQColor(Blue));
    EXPECT_EQ(afterPixel(0, 0), toQColor(Red));
    EXPECT_EQ(afterPixel(1, 0), toQColor(Green));
    EXPECT_EQ(pictures.names(), std::vector<std::string>{"a.bmp"}) << "no temporary file left";
    EXPECT_EQ(pictures.read("a.bmp"), picture);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window->MousePointer(), 0);
}

TEST_F(PreviewTest, GrowsASixteenByFifteenIconWithARowOfTheAfterColour) {
    pictures.write("icon.bmp", makeBmp24(16, 15, Green));
    startBlueToRed();
    ASSERT_EQ(panel(2), "774バイト");
    ASSERT_TRUE(window->sixteenByFifteen());

    const QImage top = window->Image1[1]->Picture();
    ASSERT_EQ(top.size(), QSize(16, 16));
    EXPECT_EQ(top.pixelColor(0, 0), toQColor(Red));
    EXPECT_EQ(top.pixelColor(15, 15), toQColor(Green));
    EXPECT_DOUBLE_EQ(window->Image1[1]->Height(), window->Image1[0]->Height() / 15 * 16);

    window->Option1[1]->setValue(true);
    window->ListView1_Click();
    const QImage bottom = window->Image1[1]->Picture();
    EXPECT_EQ(bottom.pixelColor(0, 0), toQColor(Green));
    EXPECT_EQ(bottom.pixelColor(7, 15), toQColor(Red));

    window->Check2->setValue(0);
    window->ListView1_Click();
    EXPECT_EQ(window->Image1[1]->Picture().size(), QSize(16, 15));
    EXPECT_DOUBLE_EQ(window->Image1[1]->Height(), window->Image1[0]->Height());
    EXPECT_EQ(pictures.names(), std::vector<std::string>{"icon.bmp"});
}

TEST_F(PreviewTest, ShowsTheSizeOfALargeFileGrouped) {
    auto picture = makeBmp24(16, 16, Green);
    picture.resize(1234567, 0);
    pictures.write("big.bmp", picture);
    startBlueToRed();
    EXPECT_EQ(panel(2), "1,234,567バイト");
}

TEST_F(PreviewTest, ANotConvertibleFileShowsItsSizeButNoPicture) {
    pictures.write("palette.bmp", makeBmpWithBitCount(4, 4, 8));
    startBlueToRed();

    EXPECT_EQ(item(1).SmallIcon(), "NoChg");
    EXPECT_EQ(panel(1), "NOT 24bit");
    EXPECT_FALSE(panel(2).isEmpty());
    EXPECT_TRUE(window->Image1[0]->Picture().isNull());
    EXPECT_TRUE(window->Image1[1]->Picture().isNull());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PreviewTest, APictureThatCannotBeLoadedIsReportedAndKeepsItsPath) {
    std::vector<std::uint8_t> damaged(60, 0x5A);
    damaged[28] = 24;
    damaged[18] = damaged[22] = 4; // a plausible size, but no picture
    std::fill_n(&damaged[19], 3, 0);
    std::fill_n(&damaged[23], 3, 0);
    pictures.write("damaged.bmp", damaged);
    startBlueToRed();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "BMPエラー");
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("[No.481]\r\n"));
    EXPECT_EQ(panel(1), "");
    EXPECT_EQ(panel(2), "");
    EXPECT_EQ(panel(3), pictureFolderText() + "/damaged.bmp");
    EXPECT_TRUE(window->Image1[0]->Picture().isNull());
    EXPECT_EQ(window->MousePointer(), 0);
}

TEST_F(PreviewTest, AFailedReplacementMarksTheItemAndLeavesTheSourceAlone) {
    const auto picture = makeBmp24(4, 4, Blue);
    pictures.write("a.bmp", picture);
    std::filesystem::create_directory(pictures / "a.tmp"); // the result cannot be written
    startBlueToRed();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "変換エラー");
    EXPECT_EQ(item(1).SmallIcon(), "NG");
    EXPECT_TRUE(window->Image1[1]->Picture().isNull());
    EXPECT_EQ(pictures.read("a.bmp"), picture);

    window->ListView1_Click(); // an "NG" item is now shown as not convertible
    EXPECT_EQ(panel(1), "NOT 24bit");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(PreviewTest, ATopDownPictureShowsItsNegativeHeightAndIsNotAnIcon) {
    auto picture = makeBmp24(16, 16, Green);
    picture[22] = 0xF0; // height -16: stored top-down
    picture[23] = picture[24] = picture[25] = 0xFF;
    pictures.write("topdown.bmp", picture);
    startBlueToRed();

    EXPECT_EQ(panel(1), "16×-16");
    EXPECT_FALSE(window->sixteenByFifteen());
}

TEST_F(PreviewTest, ItemsWithoutASelectionEndInTheFailureHandling) {
    pictures.write("a.bmp", makeBmp24(2, 2, Green));
    startBlueToRed();
    window->ListView1->clearSelection();

    window->ListView1_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "BMPエラー");
    EXPECT_EQ(panel(1), "");
}
