// SPDX-License-Identifier: MIT
// The parts of commit/Backup.h that touch files, on Windows.
#include "commit/Backup.h"
#include "engine/PathText.h"
#include "filesafety/FileAttributes.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"
#include "filesafety/OwnNames.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"
#include "filesafety/windows/WindowsFile.h"

#include <array>
#include <cerrno>
#include <vector>

namespace pixtint {

std::optional<Error> notABackup(const std::filesystem::path& backup) {
    const DWORD attributes = ::GetFileAttributesW(longPath(backup).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Error::fromErrno(errnoOf(::GetLastError()), backup);
    }
    if ((attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return Error(ErrorKind::NotABackup, backup);
    }
    const UniqueFd file(descriptorOf(
        openFile(backup, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)));
    if (file.get() < 0) {
        return Error::fromErrno(errnoOf(::GetLastError()), backup);
    }
    std::array<std::uint8_t, 2> signature{};
    try {
        if (readFullyAt(file.get(), 0, signature, backup) < 2 ||
            signature != std::array<std::uint8_t, 2>{'B', 'M'}) {
            return Error(ErrorKind::NotABackup, backup);
        }
    } catch (const Error& error) {
        return error;
    }
    return std::nullopt;
}

namespace {

bool nothingThere(const std::optional<Error>& refused) {
    return refused && refused->kind() == ErrorKind::System && refused->systemError() == ENOENT;
}

std::filesystem::path heldName(const std::filesystem::path& backup, FileNumber held) {
    return backup.parent_path() / pathOf(ownName(textOf(backup.filename()), OwnRole::Held, held));
}

// Where the file system has no hard links (FAT): a flushed copy, named only once whole.
std::filesystem::path copyOriginal(int original, const std::filesystem::path& backup,
                                   const FolderLock& lock, FileSystem& fileSystem,
                                   FileNumber& copied) {
    SiblingFile copy(backup, &lock, fileSystem);
    std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
    for (std::uint64_t offset = 0;; offset += buffer.size()) {
        const std::size_t count = readFullyAt(original, offset, buffer, backup);
        copy.write(std::span(buffer).first(count));
        if (count < buffer.size()) {
            break;
        }
    }
    keepAttributes(original, copy.descriptor(), backup);
    if (const int failure = fileSystem.syncData(copy.descriptor())) {
        throwErrno(failure, backup);
    }
    copied = copy.status().st_ino;
    const auto name = copy.nameAndClose(lock, fileSystem);
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        auto held = heldName(backup, copied);
        const int failure = moveFile(name, held, false);
        if (failure == 0) {
            copy.forgetName();
            return held;
        }
        if (failure != EEXIST) {
            throwErrno(failure, backup);
        }
    }
    throwErrno(EEXIST, backup);
}

} // namespace

std::optional<Error> backupPlaceRefused(const std::filesystem::path& backup, bool* free) {
    auto refused = notABackup(backup);
    if (free) {
        *free = nothingThere(refused);
    }
    if (nothingThere(refused)) {
        return std::nullopt;
    }
    // A read-only backup is one its owner meant to keep.
    const DWORD attributes = ::GetFileAttributesW(longPath(backup).c_str());
    if (!refused && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Error::fromErrno(EACCES, backup);
    }
    return refused;
}

HeldOriginal::HeldOriginal(int original, FileNumber read, std::filesystem::path backup,
                           const FolderLock& lock, FileSystem& fileSystem)
    : original_(original)
    , lock_(lock)
    , backup_(std::move(backup)) {
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        held_ = heldName(backup_, read);
        const int linkError = fileSystem.linkFile(original_, lock_.descriptor(), held_.c_str());
        if (linkError == 0) {
            heldFile_ = read;
            holding_ = true;
            return;
        }
        if (linkError == ENOENT) {
            throw Error(ErrorKind::ChangedDuringRun, backup_);
        }
        if (linkError != EEXIST) {
            held_ = copyOriginal(original_, backup_, lock_, fileSystem, heldFile_);
            copied_ = holding_ = true;
            return;
        }
    }
    throwErrno(EEXIST, backup_);
}

HeldOriginal::~HeldOriginal() {
    release();
}

void HeldOriginal::commit(FileSystem& fileSystem, bool placeWasFree) {
    const auto folder = lock_.descriptor();
    const auto held = held_.filename();
    const auto backup = backup_.filename();
    if (placeWasFree) {
        const int failure =
            fileSystem.renameInFolder(folder, held.c_str(), backup.c_str(), RENAME_NOREPLACE);
        if (failure == 0) {
            holding_ = false;
            return;
        }
        if (failure == EEXIST) {
            if (auto refused = backupPlaceRefused(backup_)) {
                throw *refused;
            }
        }
    }
    if (const auto before = stateAt(backup_); before && before->st_ino == heldFile_) {
        // The backup is another name of the original already: the held name just goes.
        ::DeleteFileW(longPath(held_).c_str());
        holding_ = false;
        return;
    }
    const int failure = fileSystem.renameInFolder(folder, held.c_str(), backup.c_str(), 0);
    const auto placed = stateAt(backup_);
    if (failure != 0 && !(placed && placed->st_ino == heldFile_ && !stateAt(held_))) {
        throwErrno(failure, backup_);
    }
    holding_ = false;
}

// The original's handle is closed by the time a held name is released (the commit let go of
// it), so only the held name is looked at: a hard link goes when the original keeps another
// name; a copy stays, for the next run, which removes it when the picture has its bytes.
std::optional<std::filesystem::path> HeldOriginal::release() {
    if (!holding_) {
        return std::nullopt;
    }
    holding_ = false;
    const auto held = stateAt(held_);
    if (!copied_ && held && held->st_nlink >= 2) {
        ::DeleteFileW(longPath(held_).c_str());
        return std::nullopt;
    }
    return held_;
}

} // namespace pixtint
