// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"
#include "widgets/ColourValue.h"

#include <QCursor>
#include <QTest>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

constexpr Pixel Moss{10, 200, 30};
constexpr std::int32_t MossValue = 0x001EC80A;
constexpr std::int32_t ButtonFaceReference = -2147483633;
constexpr std::int32_t DefaultFrom = -2147483638;
using Bytes = std::vector<std::uint8_t>;

} // namespace

class ColourSelectionTest : public MainWindowFixture {
protected:
    // A release of `button` on `image` with the pointer over the image's centre.
    void releaseOver(PictureView* image, Qt::MouseButton button) {
        QCursor::setPos(image->mapToGlobal(image->rect().center()));
        settle();
        QTest::mouseRelease(image, button, Qt::NoModifier, image->rect().center());
        settle();
    }
    // The window's controls that were disabled themselves (not merely inside a disabled frame),
    // sorted and joined by blanks.
    std::string disabledControls() const {
        QStringList names;
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (!name.isEmpty() && !name.startsWith("qt_") &&
                widget->testAttribute(Qt::WA_ForceDisabled)) {
                names << name;
            }
        }
        names.sort();
        return names.join(' ').toStdString();
    }
};

TEST_F(ColourSelectionTest, APickLocksTheWindowAndALeftReleaseStoresTheColourOnScreen) {
    // Moss in four-byte pixels, nearly transparent: the pick takes the pixel's own colour,
    // whatever the screen blends it into. The default colours leave it be.
    BmpRecipe alpha{.height = 16, .bitCount = 32, .headerSize = 124, .compression = 3};
    for (int i = 0; i < 16 * 16; ++i) {
        alpha.pixels.insert(alpha.pixels.end(), {Moss.blue, Moss.green, Moss.red, 0x10});
    }
    pictures.write("picture.bmp", makeBmp(alpha));
    rememberPictureFolder();
    start();
    releaseOver(image(Side::Before), Qt::LeftButton);
    EXPECT_EQ(swatch(Side::Before)->colourValue(), DefaultFrom) << "no pick armed";
    pickButton(Side::Before)->click();
    releaseOver(image(Side::Before), Qt::MiddleButton); // ends the pick; only a left one stores
    EXPECT_EQ(swatch(Side::Before)->colourValue(), DefaultFrom);
    EXPECT_FALSE(window->picking());

    pickButton(Side::Before)->click();
    EXPECT_TRUE(image(Side::Before)->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(image(Side::Before)->toolTip(), "右クリックでキャンセル");
    EXPECT_EQ(disabledControls(),
              "Check1 Check2 Command1 Command2 Command3 Command4 Command5(0) Command5(1) "
              "Command5(2) Command5(3) Command5(4) Command5(5) Command7 Frame3 Frame4 Image3 "
              "Label3(0) Label3(1) Label4(0) Label4(1) ListView1 Option1(0) Option1(1)");

    releaseOver(image(Side::Before), Qt::LeftButton);
    EXPECT_EQ(swatch(Side::Before)->colourValue(), MossValue);
    EXPECT_EQ(swatch(Side::After)->colourValue(), ButtonFaceReference);
    EXPECT_FALSE(window->picking());
    EXPECT_FALSE(image(Side::Before)->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(image(Side::Before)->toolTip(), "変換前画像");
    EXPECT_EQ(disabledControls(), "Check2 Frame4 Option1(0) Option1(1)")
        << "a 16x16 picture offers no size options";

    // The TO colour is picked from the after image, which shows the moss converted by now.
    const QColor converted = picture(Side::After).pixelColor(0, 0);
    EXPECT_NE(converted, QColor(Moss.red, Moss.green, Moss.blue));
    pickButton(Side::After)->click();
    EXPECT_TRUE(image(Side::After)->testAttribute(Qt::WA_SetCursor));
    EXPECT_FALSE(image(Side::Before)->testAttribute(Qt::WA_SetCursor));
    releaseOver(image(Side::After), Qt::LeftButton);
    EXPECT_EQ(swatch(Side::After)->colourValue(), ColourValue::fromColour(converted));
    EXPECT_TRUE(dialogs.messages.empty());
}

// The dialogs set the swatches (a cancelled one leaves them), and the after image on screen
// follows at once with the new colours, a palette picture's too; nothing is written. On a theme
// whose buttons, borders and window background differ, a swatch paints a system colour as its part
// of the theme (the button face as a button, the active border as a frame), while the conversion
// writes any system colour as the window's background.
TEST_F(ColourSelectionTest, DialogsSetTheSwatchesAndSystemColoursAreWrittenAsTheBackground) {
    const BmpRecipe palettePicture{
        .height = 16, .bitCount = 8, .palette = {Moss}, .pixels = Bytes(16 * 16, 0)};
    pictures.write("picture.bmp", makeBmp(palettePicture));
    rememberPictureFolder();
    start();
    QPalette theme = window->palette();
    theme.setColor(QPalette::Window, QColor(40, 50, 60));
    theme.setColor(QPalette::Button, QColor(200, 210, 220));
    theme.setColor(QPalette::Mid, QColor(90, 91, 92));
    window->setPalette(theme);
    // What a widget shows at its centre, clear of any border.
    const auto shownColour = [](QWidget* widget) {
        const QImage shown = widget->grab().toImage();
        return shown.pixelColor(shown.rect().center());
    };
    const auto paintedColour = [&](Side side) {
        return shownColour(swatch(side));
    };
    EXPECT_EQ(paintedColour(Side::Before), QColor(90, 91, 92)); // the active border
    colourDialogButton(Side::Before)->click();                  // cancelled
    EXPECT_EQ(swatch(Side::Before)->colourValue(), DefaultFrom);
    dialogs.colourAnswers.push_back(QColor(Moss.red, Moss.green, Moss.blue));
    colourDialogButton(Side::Before)->click();
    settle();
    EXPECT_EQ(swatch(Side::Before)->colourValue(), MossValue);

    dialogs.colourAnswers.push_back(QColor(0x12, 0x34, 0x56));
    colourDialogButton(Side::After)->click();
    settle();
    EXPECT_EQ(swatch(Side::After)->colourValue(), 0x00563412);
    EXPECT_EQ(shownColour(image(Side::After)), QColor(0x12, 0x34, 0x56));
    dialogs.buttonColourDialog = [](QWidget*) {
        return std::optional<std::int32_t>(ButtonFaceReference);
    };
    buttonColourButton(Side::After)->click();
    settle();
    EXPECT_EQ(swatch(Side::After)->colourValue(), ButtonFaceReference);
    EXPECT_TRUE(dialogs.messages.empty());

    EXPECT_EQ(picture(Side::After).pixelColor(0, 0), QColor(40, 50, 60));
    EXPECT_EQ(shownColour(image(Side::After)), QColor(40, 50, 60));
    EXPECT_EQ(paintedColour(Side::After), QColor(200, 210, 220));
    EXPECT_EQ(pictures.names(), std::vector<std::string>{"picture.bmp"});
}

} // namespace pixtint
