// SPDX-License-Identifier: MIT
#include "conversion/Backup.h"

#include "filesafety/FileAttributes.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pixtint {

std::filesystem::path backupPathFor(const std::filesystem::path& picture) {
    constexpr std::string_view Ending = "bak";
    std::string name = picture.filename().native();
    if (name.empty() || name == "." || name == "..") {
        throw Error::fromErrno(EINVAL, picture);
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0 && dot + 1 + Ending.size() == name.size()) {
        name.replace(dot + 1, Ending.size(), Ending);
    } else {
        name += '.';
        name += Ending;
    }
    return picture.parent_path() / name;
}

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

std::optional<Error> backupPlaceRefused(const std::filesystem::path& backup) {
    auto refused = notABackup(backup);
    if (refused && refused->kind() == ErrorKind::System && refused->systemError() == ENOENT) {
        return std::nullopt;
    }
    // A read-only backup is one its owner meant to keep.
    if (!refused && ::access(backup.c_str(), W_OK) != 0) {
        return Error::fromErrno(errno, backup);
    }
    return refused;
}

namespace {

std::filesystem::path key(const std::filesystem::path& path) {
    return path.lexically_normal();
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
                                               const std::filesystem::path& backup) {
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
        return sharedWith(backup, claimed->second);
    }
    if (auto refused = backupPlaceRefused(backup)) {
        return FileFailure{FileFailure::Kind::BackupBlocked, *refused, {}, {}};
    }
    claimed_.emplace(backupKey, picture);
    return std::nullopt;
}

namespace {

// A free name to try for a held original: the backup's name plus "." and six random
// characters, shortened where needed so that a name just within the limit still gets one.
std::filesystem::path heldCandidate(const std::filesystem::path& backup) {
    constexpr std::size_t Extra = 1 + RandomPartLength;
    std::string name = backup.filename().native();
    if (name.size() > NAME_MAX - Extra) {
        name.resize(NAME_MAX - Extra);
    }
    return backup.parent_path() / (name + "." + randomPart());
}

bool isFree(const std::filesystem::path& name) {
    struct stat status {};
    return ::lstat(name.c_str(), &status) != 0 && errno == ENOENT;
}

// Where the file system has no hard links: a flushed copy with the original's attributes,
// named only once whole. The folder's lock keeps the free name free until the rename.
std::filesystem::path copyOriginal(int original, const std::filesystem::path& backup,
                                   const FolderLock& lock) {
    SiblingFile copy(backup, &lock);
    std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
    for (std::uint64_t offset = 0;; offset += buffer.size()) {
        const std::size_t count = readFullyAt(original, offset, buffer, backup);
        copy.write(std::span(buffer).first(count));
        if (count < buffer.size()) {
            break;
        }
    }
    keepAttributes(original, copy.descriptor(), backup);
    if (::fsync(copy.descriptor()) != 0) {
        throwErrno(errno, backup);
    }
    const auto name = copy.nameAndClose(systemFileSystem());
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        auto held = heldCandidate(backup);
        if (isFree(held)) {
            if (std::rename(name.c_str(), held.c_str()) != 0) {
                throwErrno(errno, backup);
            }
            copy.forgetName();
            return held;
        }
    }
    throwErrno(EEXIST, backup);
}

} // namespace

HeldOriginal::HeldOriginal(int original, std::filesystem::path backup, const FolderLock& lock)
    : original_(original)
    , lock_(lock)
    , backup_(std::move(backup)) {
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        held_ = heldCandidate(backup_);
        const int linkError = linkDescriptor(original_, held_);
        if (linkError == 0) {
            holding_ = true;
            return;
        }
        if (linkError == ENOENT) {
            // The file read has no name left: someone removed or replaced the picture.
            throw Error(ErrorKind::ChangedDuringRun, backup_);
        }
        if (linkError != EEXIST) {
            held_ = copyOriginal(original_, backup_, lock_);
            copied_ = holding_ = true;
            return;
        }
    }
    throwErrno(EEXIST, backup_);
}

HeldOriginal::~HeldOriginal() {
    release();
}

void HeldOriginal::commit(FileSystem& fileSystem) {
    struct stat held {};
    ::lstat(held_.c_str(), &held);
    const int failure = fileSystem.renameInFolder(lock_.descriptor(), held_.filename().c_str(),
                                                  backup_.filename().c_str(), 0);
    // A rename that reports a failure may still have taken effect: looked at only then.
    const auto tookEffect = [&] {
        struct stat placed {};
        return isFree(held_) && ::lstat(backup_.c_str(), &placed) == 0 &&
               placed.st_ino == held.st_ino && placed.st_dev == held.st_dev;
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
        ::unlink(held_.c_str());
        return std::nullopt;
    }
    return held_;
}

} // namespace pixtint
