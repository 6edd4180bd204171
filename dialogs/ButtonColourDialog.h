// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QRadioButton;

namespace pixtint {

class Swatch;

// The modal dialog of button-face colours: three classic schemes and the system's own button
// face. "設 定" accepts it with the chosen colour value; "閉じる", Esc or closing it answers
// nothing. Each opening is a fresh dialog, so it always opens on "現在のボタン色".
class ButtonColourDialog : public QDialog {
    Q_OBJECT
public:
    explicit ButtonColourDialog(QWidget* owner);

    // Shows a fresh dialog modally over `owner` and answers the colour value it was set with.
    static std::optional<std::int32_t> ask(QWidget* owner);

    // The colour value of the chosen row, once "設 定" has accepted the dialog.
    std::optional<std::int32_t> chosenColour() const { return chosen_; }

private:
    static constexpr int ChoiceCount = 4;

    void createControls();
    void fitChoiceCaptions();
    void widenForCaptions();
    void setChosenColour();

    std::array<QRadioButton*, ChoiceCount> choices_{};
    std::array<Swatch*, ChoiceCount> swatches_{};
    std::optional<std::int32_t> chosen_;
};

} // namespace pixtint
