#include "engine/AppError.h"
#include "engine/FileBytes.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SettingsFile.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"
#include "platform/ProgramInfo.h"

namespace pixtint {

// The settings file at start and exit, and the guide beside the program.

namespace {

const QString SettingsErrorTitle = QStringLiteral("環境設定エラー");

QString windowCaption() {
    return QStringLiteral("Pixtint (Ver%1.%2)")
        .arg(ProgramInfo::MajorVersion())
        .arg(ProgramInfo::MinorVersion());
}

// No file, or a short one, is the normal case at a first start.
bool isSilentSettingsError(int number) {
    return number == ErrorNumber::FileNotFound || number == ErrorNumber::InputPastEndOfFile;
}

} // namespace

QString MainWindow::settingsFilePath() const {
    return programFolder_ + QStringLiteral("/Pixtint.ini");
}

QString MainWindow::readmeFilePath() const {
    return programFolder_ + QStringLiteral("/Readme.txt");
}

void MainWindow::loadSettings() {
    if (!readSettingsFile()) {
        // Replaces a folder that an incomplete file may already have put there.
        state_.folder = programFolder_;
    }
    showState();
    setCaption(windowCaption());
}

bool MainWindow::readSettingsFile() {
    try {
        const std::vector<std::uint8_t> bytes = readWholeFile(NativePath(settingsFilePath()));
        SettingsFile::readInto(
            QByteArray(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes)), state_);
        return true;
    } catch (const AppError& error) {
        if (!isSilentSettingsError(error.number())) {
            dialogs_.ShowError(this, error, SettingsErrorTitle);
        }
        return false;
    }
}

// Only leaving through the exit button keeps the settings; closing the window otherwise
// leaves the file as it was.
void MainWindow::leave() {
    saveSettings();
    close();
}

void MainWindow::openReadme() {
    dialogs_.OpenDocument(readmeFilePath());
}

void MainWindow::saveSettings() {
    const QByteArray bytes = SettingsFile::format(state_);
    try {
        // Written whole or not at all: a failed exit leaves the previous settings intact.
        writeFileAtomically(NativePath(settingsFilePath()),
                            {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())});
    } catch (const AppError& error) {
        dialogs_.ShowError(this, error, SettingsErrorTitle);
    }
}

} // namespace pixtint
