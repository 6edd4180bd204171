#include "MainWindowFixture.h"
#include "frmWindowsButtonColor.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

namespace {

constexpr Pixel Moss{10, 200, 30};
constexpr std::int32_t MossValue = 0x001EC80A;
constexpr std::int32_t RedValue = 0x000000FF;
constexpr std::int32_t ButtonFaceReference = -2147483633;
constexpr std::int32_t DefaultBefore = -2147483638;

const QStringList SizeOptions{"Check2", "Frame4", "Option1(0)", "Option1(1)"};

QColor toQColor(Pixel pixel) {
    return QColor(pixel.red, pixel.green, pixel.blue);
}

} // namespace

class ColourSelectionTest : public MainWindowFixture {
protected:
    frmMain& startOn(Pixel fill, int width = 16, int height = 16,
                     std::int32_t before = DefaultBefore,
                     std::int32_t after = ButtonFaceReference) {
        pictures.write("picture.bmp", makeBmp24(width, height, fill));
        rememberPictureFolder(before, after);
        return start();
    }
    // A release of `button` on `image` with the pointer over the image's centre.
    void releaseOver(ImageBox* image, Qt::MouseButton button) {
        QCursor::setPos(image->mapToGlobal(image->rect().center()));
        settle();
        QTest::mouseRelease(image, button, Qt::NoModifier, image->rect().center());
        settle();
    }
    // The window's controls that were disabled themselves (not merely inside a disabled frame),
    // sorted and joined by blanks, leaving out `ignored`.
    std::string disabledControls(const QStringList& ignored = {}) const {
        QStringList names;
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (!name.isEmpty() && !name.startsWith("qt_") && !ignored.contains(name) &&
                widget->testAttribute(Qt::WA_ForceDisabled)) {
                names << name;
            }
        }
        names.sort();
        return names.join(' ').toStdString();
    }
    bool sizeOptionsEnabled() const {
        return window->Frame4->isEnabled() && window->Check2->isEnabled() &&
               window->Option1[0]->isEnabled() && window->Option1[1]->isEnabled();
    }
};

TEST_F(ColourSelectionTest, LeftReleaseStoresTheColourOnScreenAndEndsThePick) {
    startOn(Moss);
    ASSERT_EQ(window->Image1[0]->Picture().pixelColor(0, 0), toQColor(Moss));

    window->Command5[2]->click();
    ASSERT_TRUE(window->pickMode());
    EXPECT_EQ(window->Image1[0]->MousePointer(), 99);
    EXPECT_EQ(window->Image1[0]->ToolTipText(), "右クリックでキャンセル");
    EXPECT_EQ(disabledControls(SizeOptions),
              "Check1 Command1 Command2 Command3 Command4 Command5(0) Command5(1) Command5(2) "
              "Command5(3) Command5(4) Command5(5) Command7 Frame3 Image1(1) Image3 Label3(0) "
              "Label3(1) Label4(0) Label4(1) ListView1");
    EXPECT_FALSE(window->Frame4->isEnabled() || window->Check2->isEnabled() ||
                 window->Option1[0]->isEnabled() || window->Option1[1]->isEnabled());

    releaseOver(window->Image1[0], Qt::LeftButton);
    EXPECT_EQ(window->Label3[0]->BackColor(), MossValue);
    EXPECT_EQ(window->Label3[1]->BackColor(), ButtonFaceReference);
    EXPECT_FALSE(window->pickMode());
    EXPECT_EQ(window->Image1[0]->MousePointer(), 0);
    EXPECT_EQ(window->Image1[0]->ToolTipText(), "変換前画像");
    EXPECT_EQ(window->Image1[1]->ToolTipText(), "変換後画像");
    EXPECT_EQ(disabledControls(SizeOptions), "");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ColourSelectionTest, AfterColourIsPickedFromTheAfterImage) {
    startOn(Moss); // the default colours leave the moss picture as it is
    ASSERT_EQ(window->Image1[1]->Picture().pixelColor(0, 0), toQColor(Moss));

    window->Command5[3]->click();
    EXPECT_EQ(window->Image1[1]->MousePointer(), 99);
    EXPECT_TRUE(window->Image1[1]->isEnabled());
    EXPECT_FALSE(window->Image1[0]->isEnabled());

    releaseOver(window->Image1[1], Qt::LeftButton);
    EXPECT_EQ(window->Label3[1]->BackColor(), MossValue);
    EXPECT_EQ(window->Label3[0]->BackColor(), DefaultBefore);
    EXPECT_TRUE(window->Image1[0]->isEnabled());
}

TEST_F(ColourSelectionTest, OtherButtonsCancelAndReleasesOutsideAPickDoNothing) {
    startOn(Moss);
    releaseOver(window->Image1[0], Qt::LeftButton);
    EXPECT_EQ(window->Label3[0]->BackColor(), DefaultBefore) << "no pick armed";

    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        window->Command5[2]->click();
        releaseOver(window->Image1[0], button);
        EXPECT_EQ(window->Label3[0]->BackColor(), DefaultBefore);
        EXPECT_FALSE(window->pickMode());
        EXPECT_EQ(window->Image1[0]->MousePointer(), 0);
        EXPECT_EQ(window->Image1[0]->ToolTipText(), "変換前画像");
        EXPECT_EQ(disabledControls(), "Check2 Frame4 Option1(0) Option1(1)")
            << "a 16x16 picture offers no size options";
    }
}

TEST_F(ColourSelectionTest, AfterAPickTheSizeOptionsFollowTheSixteenByFifteenFlag) {
    startOn(Moss, 16, 15);
    ASSERT_TRUE(window->sixteenByFifteen());
    window->Option1[0]->setEnabled(false); // as with "16×16サイズに変更" unticked

    window->Command5[2]->click();
    EXPECT_FALSE(sizeOptionsEnabled());
    releaseOver(window->Image1[0], Qt::RightButton);
    EXPECT_TRUE(sizeOptionsEnabled());
}

TEST_F(ColourSelectionTest, ColourDialogSetsTheSwatchWithoutRunningThePreview) {
    startOn(Moss);
    const QImage shownAfter = window->Image1[1]->Picture();

    window->Command5[0]->click(); // cancelled
    EXPECT_EQ(dialogs.colourDialogShown, 1);
    EXPECT_EQ(window->Label3[0]->BackColor(), DefaultBefore);
    EXPECT_EQ(window->pickTarget(), 0);

    dialogs.colourAnswers.push_back(QColor(0x12, 0x34, 0x56));
    window->Command5[1]->click();
    EXPECT_EQ(window->Label3[1]->BackColor(), 0x00563412);
    EXPECT_EQ(window->pickTarget(), 1);
    EXPECT_EQ(window->Image1[1]->Picture(), shownAfter);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ColourSelectionTest, ButtonColourDialogAnswersThroughTheTag) {
    startOn(Moss);
    window->Command5[4]->click(); // closed without an answer
    EXPECT_EQ(window->Label3[0]->BackColor(), DefaultBefore);

    QWidget* owner = nullptr;
    dialogs.buttonColorDialog = [&](QWidget* dialogOwner, QString& tag) {
        owner = dialogOwner;
        tag = "14215660";
    };
    window->Command5[5]->click();
    EXPECT_EQ(owner, window.get());
    EXPECT_EQ(window->Label3[1]->BackColor(), 14215660);
    EXPECT_TRUE(window->Tag.isEmpty());

    dialogs.buttonColorDialog = [](QWidget*, QString& tag) {
        tag = "緑";
    };
    window->Command5[4]->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "[No.13]\r\n型が一致しません。");
    EXPECT_EQ(dialogs.messages[0].title, "MakeListエラー");
    EXPECT_EQ(dialogs.messages[0].icon, Dialogs::Icon::Critical);
    EXPECT_EQ(window->Label3[0]->BackColor(), DefaultBefore);
    EXPECT_TRUE(window->Tag.isEmpty()) << "a stale answer must not come back next time";
}

TEST_F(ColourSelectionTest, CurrentButtonColourConvertsTheWindowBackground) {
    const QColor background = QApplication::palette().color(QPalette::Window);
    const Pixel backgroundPixel{static_cast<std::uint8_t>(background.red()),
                                static_cast<std::uint8_t>(background.green()),
                                static_cast<std::uint8_t>(background.blue())};
    startOn(backgroundPixel, 16, 16, MossValue, RedValue);
    ASSERT_EQ(window->palette().color(QPalette::Window), background);
    ASSERT_EQ(window->Image1[1]->Picture().pixelColor(0, 0), background);

    dialogs.buttonColorDialog = [](QWidget* owner, QString& tag) {
        frmWindowsButtonColor dialog(tag, owner);
        dialog.Command1[0]->click(); // "現在のボタン色" is preselected
    };
    window->Command5[4]->click();
    EXPECT_EQ(window->Label3[0]->BackColor(), ButtonFaceReference);
    EXPECT_EQ(window->Image1[1]->Picture().pixelColor(0, 0), background) << "no preview yet";

    window->ListView1_Click();
    EXPECT_EQ(window->Image1[1]->Picture().pixelColor(0, 0), QColor(Qt::red));
}
