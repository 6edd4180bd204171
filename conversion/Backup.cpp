#include "conversion/Backup.h"

#include "engine/PosixFile.h"
#include "engine/SiblingFile.h"

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
    std::string name = picture.native();
    if (name.size() < Ending.size()) {
        throw Error::fromErrno(EINVAL, picture);
    }
    name.replace(name.size() - Ending.size(), Ending.size(), Ending);
    return name;
}

std::optional<Error> backupPlaceBlocked(const std::filesystem::path& backup) {
    struct stat status {};
    if (::lstat(backup.c_str(), &status) != 0) {
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode)) {
        return Error::fromErrno(EISDIR, backup);
    }
    if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
        return Error::fromErrno(EINVAL, backup);
    }
    // A read-only backup is one its owner meant to keep.
    if (S_ISREG(status.st_mode) && ::access(backup.c_str(), W_OK) != 0) {
        return Error::fromErrno(errno, backup);
    }
    return std::nullopt;
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
    if (auto blocked = backupPlaceBlocked(backup)) {
        return FileFailure{FileFailure::Kind::BackupBlocked, *blocked, {}, {}};
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

// Answers 0, or the errno of the failure.
int hardLink(const std::filesystem::path& picture, const std::filesystem::path& held) {
    // A picture reached through a symbolic link is held by the file the link names, which
    // the conversion leaves alone when it replaces the link.
    if (::linkat(AT_FDCWD, picture.c_str(), AT_FDCWD, held.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    return errno;
}

void copyInto(const std::filesystem::path& picture, const std::filesystem::path& held) {
    const UniqueFd input = openRegularFileForReading(picture);
    SiblingFile copy(held);
    std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
    for (;;) {
        const std::size_t count = readFully(input.get(), buffer, picture);
        copy.write(std::span(buffer).first(count));
        if (count < buffer.size()) {
            break;
        }
    }
    copy.replaceTarget();
}

// Answers false when the name is taken; any other failure is thrown.
bool claimAndCopy(const std::filesystem::path& picture, const std::filesystem::path& held) {
    // The name is claimed first, so that the copy never replaces a file that is not ours.
    const UniqueFd claim(
        ::open(held.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (claim.get() < 0) {
        if (errno == EEXIST) {
            return false;
        }
        throwErrno(errno, held);
    }
    try {
        copyInto(picture, held);
    } catch (...) {
        ::unlink(held.c_str());
        throw;
    }
    return true;
}

} // namespace

HeldOriginal::HeldOriginal(const std::filesystem::path& picture, std::filesystem::path backup)
    : backup_(std::move(backup)) {
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        held_ = heldCandidate(backup_);
        const int linkError = hardLink(picture, held_);
        if (linkError == EEXIST) {
            continue;
        }
        // Without a link (no hard links on this file system, or a picture linked in from
        // another one) the bytes are copied.
        if (linkError == 0 || claimAndCopy(picture, held_)) {
            holding_ = true;
            return;
        }
    }
    throwErrno(EEXIST, backup_);
}

HeldOriginal::~HeldOriginal() {
    if (holding_) {
        ::unlink(held_.c_str());
    }
}

void HeldOriginal::commit() {
    holding_ = false;
    if (::rename(held_.c_str(), backup_.c_str()) != 0) {
        throwErrno(errno, backup_);
    }
}

} // namespace pixtint
