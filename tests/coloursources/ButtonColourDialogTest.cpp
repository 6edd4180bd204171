#include "coloursources/frmWindowsButtonColor.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace pixtint {

namespace {

// Opens the dialog modally, as the main window does, lets `act` work on it while it is up,
// and answers what the dialog left in the tag, or "still open" when `act` did not close it.
QString answerOf(const std::function<void(frmWindowsButtonColor&)>& act) {
    QString tag;
    frmWindowsButtonColor dialog(tag, nullptr);
    QTimer::singleShot(0, &dialog, [&] {
        act(dialog);
        if (dialog.isVisible()) {
            tag = "still open";
            dialog.done(-1); // never leave a test hanging in the modal loop
        }
    });
    dialog.exec();
    return tag;
}

} // namespace

// Each opening starts at the current button colour, whatever was chosen the time before.
TEST(ButtonColourDialog, SetAnswersTheSelectedSwatchAndClosingAnswersNothing) {
    // The option clicked (-1 for none), the button then pressed (0 sets, 1 closes), the answer.
    const std::tuple<int, int, QString> cases[] = {{0, 0, "14215660"},
                                                   {1, 0, "13160660"},
                                                   {2, 0, "12566463"},
                                                   {-1, 0, "-2147483633"},
                                                   {1, 1, QString()}};
    for (const auto& [option, button, answer] : cases) {
        EXPECT_EQ(answerOf([&](auto& dialog) {
                      if (option >= 0) {
                          dialog.Option1[option]->click();
                      }
                      dialog.Command1[button]->click();
                  }),
                  answer);
    }
    EXPECT_TRUE(answerOf([](auto& dialog) { dialog.close(); }).isNull());
}

TEST(ButtonColourDialog, EveryChoiceShowsItsCaptionWhole) {
    QString tag;
    frmWindowsButtonColor dialog(tag, nullptr);
    for (const OptionButton* option : dialog.Option1) {
        // The room the style asks for to draw the caption beside its indicator.
        EXPECT_LE(option->sizeHint().width(), option->width()) << option->text().toStdString();
    }
}

// The current button colour is written as the owner's background, so that is what it shows.
TEST(ButtonColourDialog, CurrentButtonSwatchShowsTheOwnersBackground) {
    QWidget owner;
    QPalette palette = owner.palette();
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    owner.setPalette(palette);
    QString tag;
    frmWindowsButtonColor dialog(tag, &owner);

    const QImage painted = dialog.Label1[3]->grab().toImage();
    const QPoint inside = painted.rect().center(); // clear of the one-pixel border
    EXPECT_EQ(painted.pixelColor(inside), QColor(1, 2, 3));
}

} // namespace pixtint
