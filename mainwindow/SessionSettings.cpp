// SPDX-License-Identifier: MIT
#include "filesafety/FileBytes.h"
#include "filesafety/SiblingFile.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SettingsFile.h"
#include "platform/AppLocations.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "platform/ProgramInfo.h"

namespace pixtint {

// The settings file at start and exit, and the guide.

namespace {

QString settingsErrorTitle() {
    return MainWindow::tr("環境設定エラー");
}

QString windowCaption() {
    return QStringLiteral("Pixtint (Ver%1.%2)")
        .arg(ProgramInfo::majorVersion())
        .arg(ProgramInfo::minorVersion());
}

// No file, or a short one, is the normal case at a first start; so is a settings folder in the
// user's configuration folder that is not made yet (path not found).
bool isSilentSettingsError(int number) {
    return number == MessageNumber::FileNotFound || number == MessageNumber::PathNotFound ||
           number == MessageNumber::InputPastEndOfFile;
}

} // namespace

QString MainWindow::settingsFilePath() const {
    return AppLocations::settingsFile(programFolder_);
}

std::optional<QString> MainWindow::readmeFilePath() const {
    return AppLocations::readmeFile(programFolder_);
}

void MainWindow::loadSettings() {
    if (!readSettingsFile()) {
        // Replaces a folder that an incomplete file may already have put there.
        state_.folder = folderPath(AppLocations::firstStartFolder(programFolder_));
    }
    showState();
    setWindowTitle(windowCaption());
}

bool MainWindow::readSettingsFile() {
    try {
        const std::vector<std::uint8_t> bytes = readWholeFile(nativePath(settingsFilePath()));
        SettingsFile::readInto(
            QByteArray(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes)), state_);
        return true;
    } catch (...) {
        const NumberedMessage message = currentErrorMessage();
        if (!isSilentSettingsError(message.number)) {
            showError(message, settingsErrorTitle());
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

// A guide that is nowhere is said to be missing, with every place it was looked for.
void MainWindow::openReadme() {
    if (const std::optional<QString> guide = readmeFilePath()) {
        dialogs_.openDocument(*guide);
        return;
    }
    QString text = tr("ガイドが見つかりません。探した場所：");
    for (const QString& place : AppLocations::readmePlaces(programFolder_)) {
        text += QStringLiteral("\r\n") + place;
    }
    dialogs_.showMessage(this, text, QMessageBox::Warning);
}

void MainWindow::saveSettings() {
    const QByteArray bytes = SettingsFile::format(state_);
    const QString path = settingsFilePath();
    AppLocations::createFolderFor(path);
    try {
        // Written whole or not at all: a failed exit leaves the previous settings intact.
        writeFileAtomically(nativePath(path),
                            {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())});
    } catch (...) {
        showError(currentErrorMessage(), settingsErrorTitle());
    }
}

} // namespace pixtint
