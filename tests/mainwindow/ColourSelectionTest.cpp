#include "coloursources/frmWindowsButtonColor.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

namespace pixtint {

namespace {

constexpr Pixel Moss{10, 200, 30};
constexpr std::int32_t MossValue = 0x001EC80A;
constexpr std::int32_t ButtonFaceReference = -2147483633;
constexpr std::int32_t DefaultBefore = -2147483638;

} // namespace

class ColourSelectionTest : public MainWindowFixture {
protected:
    // On a moss picture 16 wide, with the default colours, which leave it as it is.
    void startOnMoss(int height) {
        pictures.write("picture.bmp", makeBmp24(16, height, Moss));
        rememberPictureFolder();
        start();
    }
    // A release of `button` on `image` with the pointer over the image's centre.
    void releaseOver(ImageBox* image, Qt::MouseButton button) {
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
    startOnMoss(16);
    releaseOver(control<ImageBox>("Image1(0)"), Qt::LeftButton);
    EXPECT_EQ(control<Label>("Label3(0)")->BackColor(), DefaultBefore) << "no pick armed";

    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        control<CommandButton>("Command5(2)")->click();
        releaseOver(control<ImageBox>("Image1(0)"), button);
        EXPECT_EQ(control<Label>("Label3(0)")->BackColor(), DefaultBefore);
        EXPECT_FALSE(window->picking());
    }

    control<CommandButton>("Command5(2)")->click();
    EXPECT_EQ(control<ImageBox>("Image1(0)")->MousePointer(), 99);
    EXPECT_EQ(control<ImageBox>("Image1(0)")->ToolTipText(), "右クリックでキャンセル");
    EXPECT_EQ(disabledControls(),
              "Check1 Check2 Command1 Command2 Command3 Command4 Command5(0) Command5(1) "
              "Command5(2) Command5(3) Command5(4) Command5(5) Command7 Frame3 Frame4 Image3 "
              "Label3(0) Label3(1) Label4(0) Label4(1) ListView1 Option1(0) Option1(1)");

    releaseOver(control<ImageBox>("Image1(0)"), Qt::LeftButton);
    EXPECT_EQ(control<Label>("Label3(0)")->BackColor(), MossValue);
    EXPECT_EQ(control<Label>("Label3(1)")->BackColor(), ButtonFaceReference);
    EXPECT_FALSE(window->picking());
    EXPECT_EQ(control<ImageBox>("Image1(0)")->MousePointer(), 0);
    EXPECT_EQ(control<ImageBox>("Image1(0)")->ToolTipText(), "変換前画像");
    EXPECT_EQ(control<ImageBox>("Image1(1)")->ToolTipText(), "変換後画像");
    EXPECT_EQ(disabledControls(), "Check2 Frame4 Option1(0) Option1(1)")
        << "a 16x16 picture offers no size options";

    // The after colour is picked from the after image.
    control<CommandButton>("Command5(3)")->click();
    EXPECT_EQ(control<ImageBox>("Image1(1)")->MousePointer(), 99);
    EXPECT_EQ(control<ImageBox>("Image1(0)")->MousePointer(), 0);
    releaseOver(control<ImageBox>("Image1(1)"), Qt::LeftButton);
    EXPECT_EQ(control<Label>("Label3(1)")->BackColor(), MossValue);
    EXPECT_TRUE(dialogs.messages.empty());
}

// Whatever the picture looks like, a pick can always be ended: by a click over either preview,
// or by Esc. A top-down picture is shown at its real size, and a picture far wider than high
// still gets a preview one can click.
TEST_F(ColourSelectionTest, APickEndsOnAnyPreviewOrEscWhateverThePicture) {
    auto topDown = makeBmp24(16, 16, Moss);
    topDown[22] = 0xF0; // height -16: stored top-down
    topDown[23] = topDown[24] = topDown[25] = 0xFF;
    pictures.write("a.bmp", topDown);
    pictures.write("b.bmp", makeBmp24(3000, 1, Moss));
    rememberPictureFolder();
    start();
    ImageBox* before = control<ImageBox>("Image1(0)");
    ImageBox* after = control<ImageBox>("Image1(1)");
    EXPECT_EQ((std::vector{before->Width(), before->Height(), after->Width(), after->Height()}),
              (std::vector<double>{800, 800, 800, 800}));

    control<CommandButton>("Command5(2)")->click();
    releaseOver(after, Qt::RightButton);
    EXPECT_FALSE(window->picking());
    EXPECT_EQ(control<Label>("Label3(0)")->BackColor(), DefaultBefore);

    item(2).setSelected(true);
    window->previewSelectedFile();
    EXPECT_GE(before->height(), 1);
    EXPECT_GE(after->height(), 1);
    control<CommandButton>("Command5(3)")->click();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->picking());
    EXPECT_TRUE(control<CommandButton>("Command4")->isEnabled());
    EXPECT_EQ(after->MousePointer(), 0);
}

TEST_F(ColourSelectionTest, AfterAPickASixteenByFifteenPictureOffersAllSizeOptions) {
    startOnMoss(15);
    control<CheckBox>("Check2")->setValue(0); // which leaves the two options disabled

    control<CommandButton>("Command5(2)")->click();
    EXPECT_FALSE(control<Frame>("Frame4")->Enabled() || control<CheckBox>("Check2")->Enabled());
    releaseOver(control<ImageBox>("Image1(0)"), Qt::RightButton);
    EXPECT_TRUE(control<Frame>("Frame4")->isEnabled() && control<CheckBox>("Check2")->isEnabled() &&
                control<OptionButton>("Option1(0)")->isEnabled() &&
                control<OptionButton>("Option1(1)")->isEnabled());
}

// The current button colour stands for the window's background, and only the preview that
// follows converts with the new colours.
TEST_F(ColourSelectionTest, DialogsSetTheSwatchesWithoutRunningThePreview) {
    const QColor background = QApplication::palette().color(QPalette::Window);
    pictures.write("picture.bmp", makeBmp24(16, 16,
                                            Pixel{static_cast<std::uint8_t>(background.red()),
                                                  static_cast<std::uint8_t>(background.green()),
                                                  static_cast<std::uint8_t>(background.blue())}));
    rememberPictureFolder(MossValue, 0x0000FF);
    start();
    dialogs.buttonColorDialog = [](QWidget* owner, QString& tag) {
        frmWindowsButtonColor dialog(tag, owner);
        dialog.Command1[0]->click(); // "現在のボタン色" is preselected
    };
    control<CommandButton>("Command5(4)")->click();
    EXPECT_EQ(control<Label>("Label3(0)")->BackColor(), ButtonFaceReference);

    control<CommandButton>("Command5(0)")->click(); // cancelled
    EXPECT_EQ(dialogs.colourDialogShown, 1);
    EXPECT_EQ(control<Label>("Label3(0)")->BackColor(), ButtonFaceReference);
    dialogs.colourAnswers.push_back(QColor(0x12, 0x34, 0x56));
    control<CommandButton>("Command5(1)")->click();
    EXPECT_EQ(control<Label>("Label3(1)")->BackColor(), 0x00563412);

    QWidget* owner = nullptr;
    dialogs.buttonColorDialog = [&](QWidget* dialogOwner, QString& tag) {
        owner = dialogOwner;
        tag = "14215660";
    };
    control<CommandButton>("Command5(5)")->click();
    EXPECT_EQ(owner, window.get());
    EXPECT_EQ(control<Label>("Label3(1)")->BackColor(), 14215660);
    EXPECT_EQ(control<ImageBox>("Image1(1)")->Picture().pixelColor(0, 0), background)
        << "no preview yet";
    EXPECT_TRUE(dialogs.messages.empty());

    for (const QString& answer : {QString(), QStringLiteral("緑")}) {
        dialogs.buttonColorDialog = [answer](QWidget*, QString& tag) {
            tag = answer;
        };
        control<CommandButton>("Command5(4)")->click();
        EXPECT_EQ(control<Label>("Label3(0)")->BackColor(), ButtonFaceReference)
            << answer.toStdString();
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "[No.13]\r\n型が一致しません。");
    EXPECT_EQ(dialogs.messages[0].title, "MakeListエラー");
    EXPECT_EQ(dialogs.messages[0].icon, Dialogs::Icon::Critical);

    window->previewSelectedFile();
    EXPECT_EQ(control<ImageBox>("Image1(1)")->Picture().pixelColor(0, 0), QColor(236, 233, 216));
}

// On a theme whose buttons and window background differ, the after swatch holding the button
// face must show the colour that the conversion then writes.
TEST_F(ColourSelectionTest, ASystemColourInASwatchShowsWhatTheConversionWrites) {
    pictures.write("picture.bmp", makeBmp24(2, 2, Moss));
    rememberPictureFolder(MossValue, ButtonFaceReference);
    start();
    QPalette theme = window->palette();
    theme.setColor(QPalette::Window, QColor(40, 50, 60));
    theme.setColor(QPalette::Button, QColor(200, 210, 220));
    window->setPalette(theme);
    window->previewSelectedFile();

    const QColor written = control<ImageBox>("Image1(1)")->Picture().pixelColor(0, 0);
    const QImage swatch = control<Label>("Label3(1)")->grab().toImage();
    EXPECT_EQ(swatch.pixelColor(swatch.rect().center()), written); // clear of the border
    EXPECT_EQ(written, QColor(40, 50, 60));
}

} // namespace pixtint
