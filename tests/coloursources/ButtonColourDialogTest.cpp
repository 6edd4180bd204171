#include "frmWindowsButtonColor.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr const char* ButtonFaceText = "-2147483633";

// Opens the dialog modally, as the main window does, lets `act` work on it while it is up,
// and answers what the dialog left in the tag. `closed` tells whether `act` closed it.
QString answerOf(const std::function<void(frmWindowsButtonColor&)>& act, bool* closed = nullptr) {
    QString tag;
    frmWindowsButtonColor dialog(tag, nullptr);
    bool closedByAct = false;
    QTimer::singleShot(0, &dialog, [&] {
        act(dialog);
        closedByAct = !dialog.isVisible();
        if (!closedByAct) {
            dialog.done(-1); // never leave a test hanging in the modal loop
        }
    });
    dialog.exec();
    if (closed != nullptr) {
        *closed = closedByAct;
    }
    return tag;
}

} // namespace

TEST(ButtonColourDialog, SetAnswersTheSelectedSwatchAndCloses) {
    bool closed = false;
    EXPECT_EQ(answerOf([](auto& dialog) { dialog.Command1[0]->click(); }, &closed), ButtonFaceText);
    EXPECT_TRUE(closed);

    EXPECT_EQ(answerOf([](auto& dialog) {
                  dialog.Option1[0]->click();
                  dialog.Command1[0]->click();
              }),
              "14215660");
    EXPECT_EQ(answerOf([](auto& dialog) {
                  dialog.Option1[2]->click();
                  dialog.Command1[0]->click();
              }),
              "12566463");
}

TEST(ButtonColourDialog, ClosingWithoutSetAnswersNothing) {
    bool closed = false;
    EXPECT_TRUE(answerOf(
                    [](auto& dialog) {
                        dialog.Option1[1]->click();
                        dialog.Command1[1]->click();
                    },
                    &closed)
                    .isNull());
    EXPECT_TRUE(closed);
    EXPECT_TRUE(answerOf([](auto& dialog) { dialog.close(); }, &closed).isNull());
    EXPECT_TRUE(closed);
}

TEST(ButtonColourDialog, EveryOpeningStartsAtTheCurrentButtonColour) {
    answerOf([](auto& dialog) {
        dialog.Option1[0]->click();
        dialog.Command1[1]->click();
    });
    answerOf([](auto& dialog) {
        EXPECT_TRUE(dialog.Option1[3]->Value());
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(dialog.Option1[i]->Value());
        }
        dialog.Command1[1]->click();
    });
}

TEST(ButtonColourDialog, CurrentButtonSwatchPaintsThePalettesButtonColour) {
    QString tag;
    frmWindowsButtonColor dialog(tag, nullptr);
    ASSERT_EQ(dialog.findChild<Label*>("Label1(3)"), dialog.Label1[3]);
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    dialog.setPalette(palette);

    const QImage painted = dialog.Label1[3]->grab().toImage();
    const QPoint inside = painted.rect().center(); // clear of the one-pixel border
    EXPECT_EQ(painted.pixelColor(inside), QColor(1, 2, 3));
    EXPECT_EQ(dialog.Label1[3]->BackColor(), -2147483633) << "the swatch keeps the reference";
}
