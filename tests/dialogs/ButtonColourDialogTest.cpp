// SPDX-License-Identifier: MIT
#include "dialogs/ButtonColourDialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace pixtint {

namespace {

template <class Widget> Widget* control(const QWidget& dialog, const char* name) {
    auto* found = dialog.findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr) {
        ADD_FAILURE() << "no control " << name;
    }
    return found;
}

// Opens the dialog modally, as the main window does, lets `act` work on it while it is up,
// and answers what the dialog chose. A dialog that `act` left open is closed, and the test
// fails: a test must never hang in the modal loop.
std::optional<std::int32_t> answerOf(const std::function<void(ButtonColourDialog&)>& act) {
    ButtonColourDialog dialog(nullptr);
    QTimer::singleShot(0, &dialog, [&] {
        act(dialog);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "still open";
            dialog.reject();
        }
    });
    return dialog.exec() == QDialog::Accepted ? dialog.chosenColour() : std::nullopt;
}

} // namespace

// Each opening starts at the current button colour, whatever was chosen the time before.
TEST(ButtonColourDialog, SetAnswersTheSelectedSwatchAndClosingAnswersNothing) {
    // The choice clicked (none: the preselected one), the button then pressed, the answer.
    const std::tuple<const char*, const char*, std::optional<std::int32_t>> cases[] = {
        {"Option1(0)", "Command1(0)", 14215660},
        {"Option1(1)", "Command1(0)", 13160660},
        {"Option1(2)", "Command1(0)", 12566463},
        {nullptr, "Command1(0)", -2147483633},
        {"Option1(1)", "Command1(1)", std::nullopt}};
    for (const auto& [choice, button, answer] : cases) {
        EXPECT_EQ(answerOf([&](ButtonColourDialog& dialog) {
                      if (choice != nullptr) {
                          control<QRadioButton>(dialog, choice)->click();
                      }
                      control<QPushButton>(dialog, button)->click();
                  }),
                  answer);
    }
    EXPECT_EQ(answerOf([](ButtonColourDialog& dialog) { dialog.close(); }), std::nullopt);
}

} // namespace pixtint
