#include "mainwindow/SizeOptionsPanel.h"

#include "mainwindow/ControlPlacement.h"
#include "platform/CheckBox.h"
#include "platform/OptionButton.h"

namespace pixtint {

SizeOptionsPanel::SizeOptionsPanel(QWidget* container)
    : Frame(container) {
    setObjectName(QStringLiteral("Frame4"));
    Move(120, 1800, 3015, 1095);
    setCaption(QStringLiteral("サイズ"));
    resizeBox_ = placeControl<CheckBox>(this, "Check2", 120, 240, 1935, 255);
    resizeBox_->setCaption(QStringLiteral("16×16サイズに変更"));
    resizeBox_->setValue(1);
    rowOptions_[0] =
        placeControl<OptionButton>(this, indexedName("Option1", 0), 360, 480, 1935, 255);
    rowOptions_[0]->setCaption(QStringLiteral("上段に挿入"));
    rowOptions_[1] =
        placeControl<OptionButton>(this, indexedName("Option1", 1), 360, 720, 1935, 255);
    rowOptions_[1]->setCaption(QStringLiteral("下段に挿入"));
    rowOptions_[0]->setValue(true);
    resizeBox_->fitCaptionFont();
    for (OptionButton* option : rowOptions_) {
        option->fitCaptionFont();
        connect(option, &OptionButton::Click, this,
                [this] { emit rowChosen(rowOptions_[0]->Value()); });
    }
    connect(resizeBox_, &CheckBox::Click, this,
            [this] { emit resizeToggled(resizeBox_->Value()); });
}

void SizeOptionsPanel::showOptions(int resizeTo16x16, bool insertAtTop) {
    resizeBox_->setValue(resizeTo16x16);
    rowOptions_[0]->setValue(insertAtTop);
}

std::vector<QWidget*> SizeOptionsPanel::tabOrder() const {
    return {resizeBox_, rowOptions_[0], rowOptions_[1]};
}

void SizeOptionsPanel::setOffered(bool sizeOptions, bool rowOptions) {
    setEnabled(sizeOptions);
    resizeBox_->setEnabled(sizeOptions);
    rowOptions_[0]->setEnabled(rowOptions);
    rowOptions_[1]->setEnabled(rowOptions);
}

} // namespace pixtint
