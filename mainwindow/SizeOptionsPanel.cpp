// SPDX-License-Identifier: MIT
#include "mainwindow/SizeOptionsPanel.h"

#include "widgets/ControlPlacement.h"
#include "widgets/FontFit.h"
#include "widgets/FrameTitle.h"

#include <QCheckBox>
#include <QRadioButton>

namespace pixtint {

SizeOptionsPanel::SizeOptionsPanel(QWidget* container)
    : QGroupBox(container) {
    setObjectName(QStringLiteral("Frame4"));
    placeInTwips(*this, {120, 1800, 3015, 1095});
    setTitle(tr("サイズ"));
    putTitleInBorder(*this);
    resizeBox_ = placeControl<QCheckBox>(this, QStringLiteral("Check2"), {120, 240, 1935, 255});
    resizeBox_->setText(tr("16×16サイズに変更"));
    resizeBox_->setCheckState(Qt::Checked);
    topOption_ = placeControl<QRadioButton>(this, indexedName("Option1", 0), {360, 480, 1935, 255});
    topOption_->setText(tr("上段に挿入"));
    bottomOption_ =
        placeControl<QRadioButton>(this, indexedName("Option1", 1), {360, 720, 1935, 255});
    bottomOption_->setText(tr("下段に挿入"));
    topOption_->setChecked(true);
    for (QWidget* control : tabOrder()) {
        shrinkFontToSizeHint(*control);
    }
    // Choosing the bottom option clears the top one before it is told as chosen.
    for (QRadioButton* option : {topOption_, bottomOption_}) {
        connect(option, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected) {
                emit rowChosen(topOption_->isChecked());
            }
        });
    }
    connect(resizeBox_, &QCheckBox::stateChanged, this,
            [this](int state) { emit resizeToggled(static_cast<Qt::CheckState>(state)); });
}

void SizeOptionsPanel::showOptions(Qt::CheckState resizeTo16x16, bool insertAtTop) {
    resizeBox_->setCheckState(resizeTo16x16);
    showInsertAtTop(insertAtTop);
}

void SizeOptionsPanel::showInsertAtTop(bool atTop) {
    if (atTop == topOption_->isChecked()) {
        return;
    }
    if (atTop) {
        topOption_->setChecked(true); // told through toggled
        return;
    }
    // An exclusive button refuses to be cleared directly; the group then shows no choice.
    topOption_->setAutoExclusive(false);
    topOption_->setChecked(false);
    topOption_->setAutoExclusive(true);
    emit rowChosen(false);
}

std::vector<QWidget*> SizeOptionsPanel::tabOrder() const {
    return {resizeBox_, topOption_, bottomOption_};
}

void SizeOptionsPanel::setOffered(bool sizeOptions, bool rowOptions) {
    setEnabled(sizeOptions);
    resizeBox_->setEnabled(sizeOptions);
    topOption_->setEnabled(rowOptions);
    bottomOption_->setEnabled(rowOptions);
}

} // namespace pixtint
