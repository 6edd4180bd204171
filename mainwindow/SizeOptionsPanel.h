#pragma once

#include "platform/Frame.h"

#include <array>
#include <vector>

namespace pixtint {

class CheckBox;
class OptionButton;

// The size options: whether a 16 x 15 picture is grown to 16 x 16, and whether the new row
// goes at the top or the bottom.
class SizeOptionsPanel : public Frame {
    Q_OBJECT
public:
    explicit SizeOptionsPanel(QWidget* container);

    // Only the top option is set: false leaves both showing unselected, as a settings file
    // that keeps just that one value may ask.
    void showOptions(int resizeTo16x16, bool insertAtTop);
    // The frame and its box are offered for a 16 x 15 picture; the row options follow them,
    // or follow the box's tick once the box was changed.
    void setOffered(bool sizeOptions, bool rowOptions);
    // Top to bottom.
    std::vector<QWidget*> tabOrder() const;

signals:
    // The box's value changed, by the user or by the program.
    void resizeToggled(int value);
    // A row option was chosen; `atTop` is the top option's value.
    void rowChosen(bool atTop);

private:
    CheckBox* resizeBox_ = nullptr;
    std::array<OptionButton*, 2> rowOptions_{};
};

} // namespace pixtint
