// SPDX-License-Identifier: MIT
#include "filesafety/SiblingFile.h"

#include "engine/Error.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"
#include "filesafety/OwnNames.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pixtint {

namespace {

ino_t inodeOf(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 ? status.st_ino : 0;
}

// The target as it is when its sibling is made, if it is a regular file.
std::optional<struct stat> regularTarget(const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return status;
}

bool unnamedUnsupported(int errnoValue) {
    return errnoValue == EOPNOTSUPP || errnoValue == EISDIR || errnoValue == EINVAL;
}

std::filesystem::path ownNameFor(const std::filesystem::path& target, ino_t file, ino_t replaces) {
    return folderOf(target) / ownName(target.filename().native(), OwnRole::Copy, file, replaces);
}

// Where no file can be made without a name: made under a short-lived name, locked, then
// renamed to its own name at once. All under the folder's lock, so another run's clean-up,
// which takes the same lock, never finds it unlocked.
UniqueFd createNamed(const std::filesystem::path& target, ino_t replaces,
                     const FolderLock* heldLock, FileSystem& fileSystem,
                     std::filesystem::path& name) {
    std::optional<FolderLock> lock;
    if (!heldLock) {
        heldLock = &lock.emplace(folderOf(target));
    }
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        const auto made = transientName(target.filename().native());
        UniqueFd file(::openat(heldLock->descriptor(), made.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (file.get() < 0 && errno == EEXIST) {
            continue;
        }
        if (file.get() < 0) {
            throwErrno(errno, target);
        }
        ::flock(file.get(), LOCK_EX);
        name = ownNameFor(target, inodeOf(file.get()), replaces);
        const auto own = name.filename();
        if (const int failure =
                fileSystem.renameInFolder(heldLock->descriptor(), made.c_str(), own.c_str(), 0)) {
            ::unlinkat(heldLock->descriptor(), made.c_str(), 0);
            name.clear();
            throwErrno(failure, target);
        }
        return file;
    }
    throwErrno(EEXIST, target);
}

} // namespace

SiblingFile::SiblingFile(std::filesystem::path target, const FolderLock* heldLock,
                         FileSystem& fileSystem, const struct stat* openTarget)
    : target_(std::move(target))
    , fileSystem_(fileSystem) {
    const auto existing = openTarget ? std::optional(*openTarget) : regularTarget(target_);
    replaces_ = existing ? existing->st_ino : 0;
    const int unnamed = fileSystem.createUnnamed(folderOf(target_).c_str());
    if (unnamed >= 0) {
        file_ = UniqueFd(unnamed);
    } else if (unnamedUnsupported(-unnamed)) {
        file_ = createNamed(target_, replaces_, heldLock, fileSystem, name_);
    } else {
        throwErrno(-unnamed, target_);
    }
    if (::fstat(file_.get(), &status_) != 0) {
        const int failure = errno;
        if (!name_.empty()) {
            ::unlink(name_.c_str()); // no destructor runs for a constructor that throws
        }
        throwErrno(failure, target_);
    }
    // Created with mode 0666 so that the umask applies, as for any new file; an existing
    // target's permissions are carried over, so that rewriting a file does not change them.
    const mode_t wanted = existing ? existing->st_mode & 07777 : status_.st_mode & 07777;
    // Where that fails, the status keeps the bits the file has, for a later look to see.
    if ((status_.st_mode & 07777) != wanted && ::fchmod(file_.get(), wanted) == 0) {
        status_.st_mode = (status_.st_mode & ~mode_t{07777}) | wanted;
    }
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

const std::filesystem::path& SiblingFile::nameAndClose(const FolderLock& lock,
                                                       FileSystem& fileSystem) {
    if (file_.get() < 0) {
        throwErrno(EBADF, target_);
    }
    for (int attempt = 0; name_.empty() && attempt < MaxNameAttempts; ++attempt) {
        auto candidate = ownNameFor(target_, status_.st_ino, replaces_);
        const int linkError =
            fileSystem.linkFile(file_.get(), lock.descriptor(), candidate.filename().c_str());
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
    if (const int failure = fileSystem_.syncFile(file_.get())) {
        throwErrno(failure, target_);
    }
    std::optional<FolderLock> lock;
    if (!heldLock) {
        heldLock = &lock.emplace(folderOf(target_));
    }
    const auto name = nameAndClose(*heldLock, fileSystem_).filename();
    if (const int failure = fileSystem_.renameInFolder(heldLock->descriptor(), name.c_str(),
                                                       target_.filename().c_str(), 0)) {
        throwErrno(failure, target_);
    }
    forgetName();
    if (const int failure = fileSystem_.syncFolder(heldLock->descriptor())) {
        throwErrno(failure, target_);
    }
}

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         FileSystem& fileSystem) {
    SiblingFile file(target, nullptr, fileSystem);
    file.write(bytes);
    file.replaceTarget();
}

bool belongsToAnotherUser(const struct stat& status) {
    const uid_t self = ::geteuid();
    return self != 0 && status.st_uid != self;
}

std::vector<ListedFile> regularFilesOf(int folder, bool ownNamesOnly) {
    std::vector<ListedFile> files;
    const int listing = ::dup(folder);
    if (listing < 0) {
        return files;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::fdopendir(listing), ::closedir);
    if (!entries) {
        ::close(listing);
        return files;
    }
    ::rewinddir(entries.get());
    while (const dirent* entry = ::readdir(entries.get())) {
        ListedFile file{entry->d_name, {}};
        if (file.name != "." && file.name != ".." && (!ownNamesOnly || parseOwnName(file.name)) &&
            ::fstatat(folder, entry->d_name, &file.status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(file.status.st_mode)) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

namespace {

// A copy another run still writes is locked: it stays.
bool unlockedCopy(int folder, const char* name) {
    const UniqueFd file(::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    return file.get() >= 0 && ::flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

// The original a commit swapped out under the copy's name, while its picture holds the copy
// and another name (held original or backup) holds the original too.
bool swappedOutOriginal(const OwnName& own, const ListedFile& file,
                        const std::vector<ListedFile>& files, const KeptElsewhere& keptElsewhere) {
    if (own.other == 0 || file.status.st_ino != own.other) {
        return false;
    }
    const auto target = std::ranges::find_if(files, [&](const ListedFile& entry) {
        return entry.status.st_ino == own.file && nameKey(entry.name) == own.key;
    });
    return target != files.end() &&
           (file.status.st_nlink >= 2 || (keptElsewhere && keptElsewhere(file.name, target->name)));
}

} // namespace

std::size_t removeLeftoverCopies(int folder, bool dryRun,
                                 const KeptElsewhere& keptElsewhere) noexcept {
    std::size_t othersLeft = 0;
    try {
        const auto own = regularFilesOf(folder, true);
        std::optional<std::vector<ListedFile>> files; // every file, once one is needed
        for (const auto& file : own) {
            const auto name = parseOwnName(file.name);
            if (!name || name->role != OwnRole::Copy) {
                continue;
            }
            const bool stillTheCopy = file.status.st_ino == name->file;
            if (!stillTheCopy && !files) {
                files = regularFilesOf(folder, false);
            }
            if (!stillTheCopy && !swappedOutOriginal(*name, file, *files, keptElsewhere)) {
                continue; // not ours, whatever its name
            }
            if (belongsToAnotherUser(file.status)) {
                ++othersLeft;
            } else if (!dryRun && (!stillTheCopy || unlockedCopy(folder, file.name.c_str()))) {
                ::unlinkat(folder, file.name.c_str(), 0);
            }
        }
    } catch (const std::exception&) {
        // Best effort: what cannot be looked at stays.
    }
    return othersLeft;
}

} // namespace pixtint
