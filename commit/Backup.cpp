// SPDX-License-Identifier: MIT
#include "commit/Backup.h"

#include "commit/PictureCommit.h"
#include "engine/PathText.h"
#include "filesafety/FileAttributes.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"
#include "filesafety/OwnNames.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cwctype>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include "filesafety/windows/WindowsFile.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pixtint {

std::filesystem::path backupPathFor(const std::filesystem::path& picture) {
    using Char = std::filesystem::path::value_type;
    using Text = std::filesystem::path::string_type;
    static constexpr Char EndingText[] = {'b', 'a', 'k'};
    constexpr std::basic_string_view<Char> Ending(EndingText, 3);
    Text name = picture.filename().native();
    if (name.empty() || (name.size() <= 2 && name.find_first_not_of(Char('.')) == Text::npos)) {
        throw Error::fromErrno(EINVAL, picture);
    }
    const std::size_t dot = name.rfind('.');
    if (dot != Text::npos && dot > 0 && dot + 1 + Ending.size() == name.size()) {
        name.replace(dot + 1, Ending.size(), Ending);
    } else {
        name.append(1, '.').append(Ending);
    }
    return picture.parent_path() / name;
}

#ifndef _WIN32 // commit/windows/HeldOriginalWindows.cpp on Windows
std::optional<Error> notABackup(const std::filesystem::path& backup) {
    const UniqueFd file(::open(backup.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        return errno == ELOOP ? Error(ErrorKind::NotABackup, backup) // a symbolic link
                              : Error::fromErrno(errno, backup);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        return Error::fromErrno(errno, backup);
    }
    std::array<std::uint8_t, 2> signature{};
    if (!S_ISREG(status.st_mode) || readFullyAt(file.get(), 0, signature, backup) < 2 ||
        signature != std::array<std::uint8_t, 2>{'B', 'M'}) {
        return Error(ErrorKind::NotABackup, backup);
    }
    return std::nullopt;
}

namespace {

bool nothingThere(const std::optional<Error>& refused) {
    return refused && refused->kind() == ErrorKind::System && refused->systemError() == ENOENT;
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
    if (!refused && ::access(backup.c_str(), W_OK) != 0) {
        return Error::fromErrno(errno, backup);
    }
    return refused;
}
#endif

namespace {

// Held as plain text: a path object keeps a copy of each of its parts, and a run may claim
// for a hundred thousand pictures.
std::string key(const std::filesystem::path& path) {
#ifdef _WIN32
    // Windows compares names without case: a.BAK is a.bak, and two pictures sharing it share
    // one backup.
    return textOf(upperCase(path.lexically_normal().native()));
#else
    return path.lexically_normal().native();
#endif
}

FileFailure sharedWith(const std::filesystem::path& backup, const std::filesystem::path& other) {
    return {FileFailure::Kind::BackupNameShared, Error::fromErrno(EEXIST, backup), other, {}};
}

} // namespace

BackupClaims::BackupClaims(std::span<const std::filesystem::path> pictures) {
    for (const auto& picture : pictures) {
        pictures_.insert(key(picture));
    }
}

std::optional<FileFailure> BackupClaims::claim(const std::filesystem::path& picture,
                                               const std::filesystem::path& backup,
                                               const std::filesystem::path& foundAt,
                                               bool* placeFree) {
    const auto backupKey = key(backup);
    if (backupKey == key(picture)) {
        // A picture named like a backup would be overwritten by its own original.
        return FileFailure{
            FileFailure::Kind::BackupBlocked, Error::fromErrno(EEXIST, backup), {}, {}};
    }
    if (pictures_.contains(backupKey)) {
        return sharedWith(backup, backup);
    }
    if (const auto claimed = claimed_.find(backupKey); claimed != claimed_.end()) {
        return sharedWith(backup, pathOf(claimed->second));
    }
    if (placeFree) {
        *placeFree = false;
    }
    if (auto refused = backupPlaceRefused(foundAt.empty() ? backup : foundAt,
                                          foundAt.empty() ? placeFree : nullptr)) {
        if (!foundAt.empty()) { // told as the real run will tell it
            refused = refused->kind() == ErrorKind::System
                          ? Error::fromErrno(refused->systemError(), backup)
                          : Error(refused->kind(), backup);
        }
        return FileFailure{FileFailure::Kind::BackupBlocked, *refused, {}, {}};
    }
    claimed_.emplace(backupKey, textOf(picture));
    return std::nullopt;
}

namespace {

using NameText = std::filesystem::path::string_type;

// As the folder's listing matches "*.bmp": in any case.
bool endsAsPicture(const NameText& name) {
    constexpr std::string_view Ending = ".bmp";
    if (name.size() < Ending.size()) {
        return false;
    }
    return std::equal(
        name.end() - Ending.size(), name.end(), Ending.begin(), [](auto one, char other) {
            return one < 128 && std::tolower(static_cast<unsigned char>(one)) == other;
        });
}

// Windows compares names without case, so two backup names that differ only in case are one.
NameText backupKey(const NameText& picture) {
    NameText key = backupPathFor(picture).native();
#ifdef _WIN32
    std::ranges::transform(key, key.begin(), [](wchar_t c) { return std::towlower(c); });
#endif
    return key;
}

} // namespace

FolderBackupNames::FolderBackupNames(const std::filesystem::path& folder) {
#ifdef _WIN32
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const NameText name = entry->path().filename().native();
        if (endsAsPicture(name) && !entry->is_symlink(error) && !entry->is_directory(error)) {
            pictures_[backupKey(name)].push_back(name);
        }
    }
#else
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(folder.c_str()), ::closedir);
    if (!entries) {
        return;
    }
    while (const dirent* entry = ::readdir(entries.get())) {
        const NameText name = entry->d_name;
        if (!endsAsPicture(name) || entry->d_type == DT_LNK || entry->d_type == DT_DIR) {
            continue;
        }
        pictures_[backupKey(name)].push_back(name);
    }
#endif
}

std::optional<NameText> FolderBackupNames::sharedWith(const NameText& name) const {
    const auto found = pictures_.find(backupKey(name));
    if (found != pictures_.end()) {
        for (const auto& other : found->second) {
            if (other != name) {
                return other;
            }
        }
    }
    return std::nullopt;
}

#ifndef _WIN32 // commit/windows/HeldOriginalWindows.cpp on Windows
namespace {

// Names in the folder open as `folder`, looked up through it.
bool isFree(int folder, const std::filesystem::path& name) {
    struct stat status {};
    return ::fstatat(folder, name.filename().c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 &&
           errno == ENOENT;
}

bool namesFile(int folder, const std::filesystem::path& name, ino_t file) {
    struct stat status {};
    return ::fstatat(folder, name.filename().c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           status.st_ino == file;
}

// The held original's own name (OwnRole::Held) beside its backup.
std::filesystem::path heldName(const std::filesystem::path& backup, ino_t held) {
    return backup.parent_path() / ownName(backup.filename().native(), OwnRole::Held, held);
}

struct stat statusOf(int descriptor, const std::filesystem::path& path) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        throwErrno(errno, path);
    }
    return status;
}

// Where the file system has no hard links: a flushed copy with the original's attributes,
// named only once whole. The folder's lock keeps the free name free until the rename.
std::filesystem::path copyOriginal(int original, const std::filesystem::path& backup,
                                   const FolderLock& lock, FileSystem& fileSystem, ino_t& copied) {
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
    if (const int failure = fileSystem.syncFile(copy.descriptor())) {
        throwErrno(failure, backup);
    }
    copied = statusOf(copy.descriptor(), backup).st_ino;
    const auto name = copy.nameAndClose(lock, fileSystem).filename();
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        auto held = heldName(backup, copied);
        int failure = fileSystem.renameInFolder(lock.descriptor(), name.c_str(),
                                                held.filename().c_str(), RENAME_NOREPLACE);
        if (failure == EINVAL) { // no such rename here: the random part keeps the name free
            failure = fileSystem.renameInFolder(lock.descriptor(), name.c_str(),
                                                held.filename().c_str(), 0);
        }
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

HeldOriginal::HeldOriginal(int original, ino_t read, std::filesystem::path backup,
                           const FolderLock& lock, FileSystem& fileSystem)
    : original_(original)
    , lock_(lock)
    , backup_(std::move(backup)) {
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        held_ = heldName(backup_, read);
        const int linkError =
            fileSystem.linkFile(original_, lock_.descriptor(), held_.filename().c_str());
        if (linkError == 0) {
            heldFile_ = read;
            holding_ = true;
            return;
        }
        if (linkError == ENOENT) {
            // The file read has no name left: someone removed or replaced the picture.
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
    if (placeWasFree) {
        const int failure = fileSystem.renameInFolder(lock_.descriptor(), held_.filename().c_str(),
                                                      backup_.filename().c_str(), RENAME_NOREPLACE);
        if (failure == 0) {
            holding_ = false;
            return;
        }
        // Something came there since it was checked: looked at as any earlier backup is.
        if (failure == EEXIST) {
            if (auto refused = backupPlaceRefused(backup_)) {
                throw *refused;
            }
        }
        // Otherwise (no such rename here, or a failure that may have taken effect) the plain
        // way below finds out.
    }
    const int folder = lock_.descriptor();
    if (namesFile(folder, backup_, heldFile_)) {
        // The backup is another name of the original already (a hard link to the picture):
        // a rename between two names of one file does nothing, so the held name just goes.
        ::unlinkat(folder, held_.filename().c_str(), 0);
        holding_ = false;
        return;
    }
    const int failure = fileSystem.renameInFolder(lock_.descriptor(), held_.filename().c_str(),
                                                  backup_.filename().c_str(), 0);
    // A rename that reports a failure may still have taken effect: looked at only then.
    const auto tookEffect = [&] {
        return isFree(folder, held_) && namesFile(folder, backup_, heldFile_);
    };
    if (failure != 0 && !tookEffect()) {
        throwErrno(failure, backup_);
    }
    holding_ = false;
}

std::optional<std::filesystem::path> HeldOriginal::release() {
    if (!holding_) {
        return std::nullopt;
    }
    holding_ = false;
    struct stat original {};
    const nlink_t otherNames = copied_ ? 1 : 2;
    if (::fstat(original_, &original) == 0 && original.st_nlink >= otherNames) {
        ::unlinkat(lock_.descriptor(), held_.filename().c_str(), 0);
        return std::nullopt;
    }
    return held_;
}

#endif

std::optional<FileFailure> holdForBackup(const PictureCommit& commit, FileSystem& fileSystem,
                                         std::unique_ptr<HeldOriginal>& held) {
    if (commit.backup.empty()) {
        return std::nullopt;
    }
    if (auto refused = commit.backupWasFree ? std::nullopt : backupPlaceRefused(commit.backup)) {
        return FileFailure{FileFailure::Kind::BackupBlocked, std::move(*refused), {}, {}};
    }
    try {
        held = std::make_unique<HeldOriginal>(commit.original, commit.read.inode, commit.backup,
                                              commit.lock, fileSystem);
    } catch (const Error& error) {
        return FileFailure{error.kind() == ErrorKind::ChangedDuringRun
                               ? FileFailure::Kind::Conversion
                               : FileFailure::Kind::BackupBlocked,
                           error,
                           {},
                           {}};
    }
    return std::nullopt;
}

} // namespace pixtint
