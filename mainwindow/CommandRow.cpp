#include "mainwindow/CommandRow.h"

#include "mainwindow/ControlPlacement.h"
#include "platform/CheckBox.h"
#include "platform/CommandButton.h"

namespace pixtint {

CommandRow::CommandRow(QWidget* window)
    : QObject(window) {
    backupBox_ = placeControl<CheckBox>(window, "Check1", 120, 5520, 3495, 255);
    backupBox_->setCaption(QStringLiteral("変換前のファイルを *.bak として保存する"));
    backupBox_->setValue(1);
    backupBox_->fitCaptionFont();
    readmeButton_ = placeControl<CommandButton>(window, "Command7", 5160, 5400, 1335, 375);
    readmeButton_->setCaption(QStringLiteral("Readme.txt"));
    readmeButton_->setToolTipText(QStringLiteral("Readme.txtを閲覧"));
    convertButton_ = placeControl<CommandButton>(window, "Command4", 6480, 5400, 1455, 375);
    convertButton_->setCaption(QStringLiteral("変換実行"));
    exitButton_ = placeControl<CommandButton>(window, "Command1", 7920, 5400, 855, 375);
    exitButton_->setCaption(QStringLiteral("終 了"));

    connect(backupBox_, &CheckBox::Click, this,
            [this] { emit backupToggled(backupBox_->Value()); });
    connect(readmeButton_, &QPushButton::clicked, this, &CommandRow::readmeRequested);
    connect(convertButton_, &QPushButton::clicked, this, &CommandRow::convertRequested);
    connect(exitButton_, &QPushButton::clicked, this, &CommandRow::exitRequested);
}

void CommandRow::showBackup(int keepBackup) {
    backupBox_->setValue(keepBackup);
}

std::vector<QWidget*> CommandRow::tabOrder() const {
    return {backupBox_, readmeButton_, convertButton_, exitButton_};
}

void CommandRow::setInputEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{backupBox_, readmeButton_, convertButton_, exitButton_}) {
        control->setEnabled(enabled);
    }
}

void CommandRow::followEdges(const LayoutRules::Layout& layout) {
    exitButton_->Move(layout.command1Left, layout.command1Top, exitButton_->Width(),
                      exitButton_->Height());
    convertButton_->Move(layout.command4Left, layout.command1Top, convertButton_->Width(),
                         convertButton_->Height());
    readmeButton_->Move(layout.command7Left, layout.command1Top, readmeButton_->Width(),
                        readmeButton_->Height());
    backupBox_->setTop(layout.check1Top);
}

double CommandRow::exitButtonWidth() const {
    return exitButton_->Width();
}

double CommandRow::exitButtonHeight() const {
    return exitButton_->Height();
}

double CommandRow::convertButtonWidth() const {
    return convertButton_->Width();
}

double CommandRow::readmeButtonWidth() const {
    return readmeButton_->Width();
}

} // namespace pixtint
