// SPDX-License-Identifier: MIT
#include "mainwindow/CommandRow.h"

#include "widgets/ControlPlacement.h"
#include "widgets/FontFit.h"
#include "widgets/PushButton.h"

#include <QCheckBox>

namespace pixtint {

CommandRow::CommandRow(QWidget* window)
    : QObject(window) {
    using namespace LayoutRules;
    backupBox_ = placeControl<QCheckBox>(window, QStringLiteral("Check1"), Design::backupBox);
    backupBox_->setText(tr("変換前のファイルを *.bak として保存する"));
    backupBox_->setCheckState(Qt::Checked);
    shrinkFontToSizeHint(*backupBox_);
    readmeButton_ =
        placeControl<PushButton>(window, QStringLiteral("Command7"), Design::readmeButton);
    readmeButton_->setText(QStringLiteral("Readme.txt"));
    readmeButton_->setToolTip(tr("Readme.txtを閲覧"));
    convertButton_ =
        placeControl<PushButton>(window, QStringLiteral("Command4"), Design::convertButton);
    convertButton_->setText(tr("変換実行"));
    exitButton_ = placeControl<PushButton>(window, QStringLiteral("Command1"), Design::exitButton);
    exitButton_->setText(tr("終 了"));

    connect(backupBox_, &QCheckBox::stateChanged, this,
            [this](int state) { emit backupToggled(static_cast<Qt::CheckState>(state)); });
    connect(readmeButton_, &QPushButton::clicked, this, &CommandRow::readmeRequested);
    connect(convertButton_, &QPushButton::clicked, this, &CommandRow::convertRequested);
    connect(exitButton_, &QPushButton::clicked, this, &CommandRow::exitRequested);
}

void CommandRow::showBackup(Qt::CheckState keepBackup) {
    backupBox_->setCheckState(keepBackup);
}

std::vector<QWidget*> CommandRow::tabOrder() const {
    return {backupBox_, readmeButton_, convertButton_, exitButton_};
}

void CommandRow::setInputEnabled(bool enabled) {
    for (QWidget* control : tabOrder()) {
        control->setEnabled(enabled);
    }
}

void CommandRow::followLayout(const LayoutRules::Layout& layout) {
    placeInTwips(*backupBox_, layout.backupBox);
    placeInTwips(*readmeButton_, layout.readmeButton);
    placeInTwips(*convertButton_, layout.convertButton);
    placeInTwips(*exitButton_, layout.exitButton);
}

} // namespace pixtint
