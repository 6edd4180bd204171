// SPDX-License-Identifier: MIT
#include "mainwindow/SessionSettings.h"

#include "desktop/AppLocations.h"
#include "desktop/FilePaths.h"
#include "dialogs/Dialogs.h"
#include "engine/Error.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/SettingsFile.h"

#include <QWidget>
#include <algorithm>
#include <new>

namespace pixtint {

namespace {

constexpr std::size_t StreamChunkSize = std::size_t{1} << 20;
constexpr std::size_t SmallestStep = 64;

// The whole file as raw bytes. Throws Error: the file's own, or OutOfMemory for a file larger
// than memory.
std::vector<std::uint8_t> readSettingsBytes(const std::filesystem::path& path) try {
    const UniqueFd file = openRegularFileForReading(path);
    // One read more than the file's size finds its end; a file that grows meanwhile is read on.
    const auto step = static_cast<std::size_t>(std::clamp<std::uint64_t>(
        currentSize(file.get(), path) + 1, SmallestStep, StreamChunkSize));
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::size_t start = bytes.size();
        bytes.resize(start + step);
        const std::size_t count = readFully(file.get(), std::span(bytes).subspan(start), path);
        bytes.resize(start + count);
        if (count < step) {
            return bytes;
        }
    }
} catch (const std::bad_alloc&) {
    throw Error(ErrorKind::OutOfMemory, path); // a file larger than memory is a user's error
}

// No file, or a short one, is the normal case at a first start; so is a settings folder in the
// user's configuration folder that is not made yet (path not found).
bool isSilentSettingsError(int number) {
    return number == MessageNumber::FileNotFound || number == MessageNumber::PathNotFound ||
           number == MessageNumber::InputPastEndOfFile;
}

} // namespace

SessionSettings::SessionSettings(QWidget& window, Dialogs& dialogs, QString programFolder)
    : QObject(&window)
    , window_(window)
    , dialogs_(dialogs)
    , programFolder_(std::move(programFolder)) {}

void SessionSettings::load(SessionState& state) {
    if (!read(state)) {
        // Replaces a folder that an incomplete file may already have put there.
        state.folder = folderPath(AppLocations::firstStartFolder(programFolder_));
    }
}

bool SessionSettings::read(SessionState& state) {
    try {
        const std::vector<std::uint8_t> bytes =
            readSettingsBytes(nativePath(AppLocations::settingsFile(programFolder_)));
        SettingsFile::readInto(
            QByteArray(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes)), state);
        return true;
    } catch (...) {
        const NumberedMessage message = currentErrorMessage();
        if (!isSilentSettingsError(message.number)) {
            showError(message);
        }
        return false;
    }
}

void SessionSettings::save(const SessionState& state) {
    const QByteArray bytes = SettingsFile::format(state);
    const QString path = AppLocations::settingsFile(programFolder_);
    AppLocations::createFolderFor(path);
    try {
        writeFileAtomically(nativePath(path),
                            {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())});
    } catch (...) {
        showError(currentErrorMessage());
    }
}

// A guide that is nowhere is said to be missing, with every place it was looked for; one the
// desktop cannot open is named, with the desktop's reason.
void SessionSettings::openReadme() {
    if (const std::optional<QString> guide = AppLocations::readmeFile(programFolder_)) {
        dialogs_.openDocument(&window_, *guide, [this, guide = *guide](const QString& reason) {
            QString text = tr("%1 を開けませんでした。").arg(guide);
            if (!reason.isEmpty()) {
                text += QStringLiteral("\r\n") + reason;
            }
            dialogs_.showMessage(&window_, text, QMessageBox::Warning);
        });
        return;
    }
    QString text = tr("ガイドが見つかりません。探した場所：");
    for (const QString& place : AppLocations::readmePlaces(programFolder_)) {
        text += QStringLiteral("\r\n") + place;
    }
    dialogs_.showMessage(&window_, text, QMessageBox::Warning);
}

void SessionSettings::showError(const NumberedMessage& message) {
    dialogs_.showMessage(&window_, message.text(), QMessageBox::Critical, tr("環境設定エラー"));
}

} // namespace pixtint
