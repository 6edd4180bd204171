// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>
#include <array>
#include <vector>

class QCheckBox;
class QRadioButton;

namespace pixtint {

// The size options: whether a 16 x 15 picture is grown to 16 x 16, and whether the new row
// goes at the top or the bottom.
class SizeOptionsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SizeOptionsPanel(QWidget* container);

    // Only the top option is set: false leaves both showing unselected, as a settings file
    // that keeps just that one value may ask. Each change is told as the user's would be.
    void showOptions(Qt::CheckState resizeTo16x16, bool insertAtTop);
    // The frame and its box are offered for a 16 x 15 picture; the row options follow them,
    // or follow the box's tick once the box was changed.
    void setOffered(bool sizeOptions, bool rowOptions);
    // Top to bottom.
    std::vector<QWidget*> tabOrder() const;

signals:
    // The box's state changed, by the user or by the program.
    void resizeToggled(Qt::CheckState state);
    // A row option was chosen, or the top one cleared; `atTop` is the top option's state.
    void rowChosen(bool atTop);

private:
    void showInsertAtTop(bool atTop);

    QCheckBox* resizeBox_ = nullptr;
    QRadioButton* topOption_ = nullptr;
    QRadioButton* bottomOption_ = nullptr;
};

} // namespace pixtint
