#include "engine/AppError.h"
#include "engine/Error.h"
#include "engine/FileBytes.h"
#include "engine/SiblingFile.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SettingsFile.h"
#include "platform/AppLocations.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"
#include "platform/ProgramInfo.h"

namespace pixtint {

// The settings file at start and exit, and the guide.

namespace {

const QString SettingsErrorTitle = QStringLiteral("環境設定エラー");

QString windowCaption() {
    return QStringLiteral("Pixtint (Ver%1.%2)")
        .arg(ProgramInfo::MajorVersion())
        .arg(ProgramInfo::MinorVersion());
}

// No file, or a short one, is the normal case at a first start; so is a settings folder in the
// user's configuration folder that is not made yet (path not found).
bool isSilentSettingsError(int number) {
    return number == ErrorNumber::FileNotFound || number == ErrorNumber::PathNotFound ||
           number == ErrorNumber::InputPastEndOfFile;
}

} // namespace

QString MainWindow::settingsFilePath() const {
    return AppLocations::SettingsFile(programFolder_);
}

QString MainWindow::readmeFilePath() const {
    return AppLocations::ReadmeFile(programFolder_);
}

void MainWindow::loadSettings() {
    if (!readSettingsFile()) {
        // Replaces a folder that an incomplete file may already have put there.
        state_.folder = AppLocations::firstStartFolder(programFolder_);
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
    } catch (const Error& error) {
        const AppError numbered = AppError::fromError(error);
        if (!isSilentSettingsError(numbered.number())) {
            dialogs_.ShowError(this, numbered, SettingsErrorTitle);
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
    const QString path = settingsFilePath();
    AppLocations::CreateFolderFor(path);
    try {
        // Written whole or not at all: a failed exit leaves the previous settings intact.
        writeFileAtomically(NativePath(path),
                            {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())});
    } catch (const Error& error) {
        dialogs_.ShowError(this, AppError::fromError(error), SettingsErrorTitle);
    }
}

} // namespace pixtint
