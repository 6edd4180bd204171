// SPDX-License-Identifier: MIT
#include "filesafety/SiblingFile.h"

#include "engine/Error.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

namespace {

constexpr std::string_view Marker = ".pixtint-";
constexpr std::string_view RandomPartAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// A name just within the file system's limit is shortened, so that it still gets a sibling.
std::string hiddenName(const std::filesystem::path& target) {
    constexpr std::size_t Extra = 1 + Marker.size() + RandomPartLength;
    std::string name = target.filename().native();
    if (name.size() > NAME_MAX - Extra) {
        name.resize(NAME_MAX - Extra);
    }
    return "." + name + std::string(Marker) + randomPart();
}

// Created with mode 0666 so that the umask applies, as for any new file; an existing
// target's permissions are carried over, so that rewriting a file does not change them.
void adoptTargetPermissions(int descriptor, const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        ::fchmod(descriptor, status.st_mode & 07777);
    }
}

UniqueFd createUnnamed(const std::filesystem::path& folder) {
    return UniqueFd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
}

bool unnamedUnsupported(int errnoValue) {
    return errnoValue == EOPNOTSUPP || errnoValue == EISDIR || errnoValue == EINVAL;
}

// Created under the folder's lock and locked before the lock is let go, so another run's
// clean-up, which takes the same lock, never finds it unlocked.
UniqueFd createNamed(const std::filesystem::path& target, const FolderLock* heldLock,
                     std::filesystem::path& name) {
    std::optional<FolderLock> lock;
    if (!heldLock) {
        lock.emplace(folderOf(target));
    }
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        name = folderOf(target) / hiddenName(target);
        UniqueFd file(
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (file.get() >= 0) {
            ::flock(file.get(), LOCK_EX);
            return file;
        }
        if (errno != EEXIST) {
            throwErrno(errno, target);
        }
    }
    throwErrno(EEXIST, target);
}

} // namespace

std::string randomPart() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, RandomPartAlphabet.size() - 1);
    std::string part;
    while (part.size() < RandomPartLength) {
        part += RandomPartAlphabet[pick(generator)];
    }
    return part;
}

bool isRandomPart(std::string_view text) {
    return text.size() == RandomPartLength &&
           text.find_first_not_of(RandomPartAlphabet) == std::string_view::npos;
}

SiblingFile::SiblingFile(std::filesystem::path target, const FolderLock* heldLock)
    : target_(std::move(target))
    , file_(createUnnamed(folderOf(target_))) {
    if (file_.get() < 0) {
        if (!unnamedUnsupported(errno)) {
            throwErrno(errno, target_);
        }
        file_ = createNamed(target_, heldLock, name_);
    }
    adoptTargetPermissions(file_.get(), target_);
}

SiblingFile::~SiblingFile() {
    if (!name_.empty()) {
        ::unlink(name_.c_str());
    }
}

void SiblingFile::write(std::span<const std::uint8_t> bytes) {
    if (file_.get() < 0) {
        throwErrno(EBADF, target_);
    }
    writeFully(file_.get(), bytes, target_);
}

const std::filesystem::path& SiblingFile::nameAndClose(FileSystem& fileSystem) {
    if (file_.get() < 0) {
        throwErrno(EBADF, target_);
    }
    for (int attempt = 0; name_.empty() && attempt < MaxNameAttempts; ++attempt) {
        auto candidate = folderOf(target_) / hiddenName(target_);
        const int linkError = linkDescriptor(file_.get(), candidate);
        if (linkError == 0) {
            name_ = std::move(candidate);
        } else if (linkError != EEXIST) {
            throwErrno(linkError, target_);
        }
    }
    if (name_.empty()) {
        throwErrno(EEXIST, target_);
    }
    if (const int failure = fileSystem.closeFile(file_.release())) {
        throwErrno(failure, target_);
    }
    return name_;
}

void SiblingFile::replaceTarget(const FolderLock* heldLock) {
    if (::fsync(file_.get()) != 0) {
        throwErrno(errno, target_);
    }
    std::optional<FolderLock> lock;
    if (!heldLock) {
        heldLock = &lock.emplace(folderOf(target_));
    }
    const auto& name = nameAndClose(systemFileSystem());
    if (::rename(name.c_str(), target_.c_str()) != 0) {
        throwErrno(errno, target_);
    }
    forgetName();
    if (const int failure = systemFileSystem().syncFolder(heldLock->descriptor())) {
        throwErrno(failure, target_);
    }
}

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    SiblingFile file(target);
    file.write(bytes);
    file.replaceTarget();
}

bool isSiblingFileName(std::string_view name) {
    const std::size_t marker = name.rfind(Marker);
    return name.size() > 1 && name.front() == '.' && marker != std::string_view::npos &&
           marker > 1 && isRandomPart(name.substr(marker + Marker.size()));
}

namespace {

void removeIfUnheld(int folder, const char* name) {
    const UniqueFd file(::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return;
    }
    if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
        ::unlinkat(folder, name, 0);
    }
}

} // namespace

void removeLeftoverSiblings(int folder) noexcept {
    const int listing = ::dup(folder);
    if (listing < 0) {
        return;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::fdopendir(listing), ::closedir);
    if (!entries) {
        ::close(listing);
        return;
    }
    ::rewinddir(entries.get());
    while (const dirent* entry = ::readdir(entries.get())) {
        if (isSiblingFileName(entry->d_name)) {
            removeIfUnheld(folder, entry->d_name);
        }
    }
}

} // namespace pixtint
