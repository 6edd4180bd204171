// SPDX-License-Identifier: MIT
#include "commit/PictureCommit.h"

#include "commit/Backup.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"
#include "filesafety/OwnNames.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pixtint {

ReadIdentity ReadIdentity::of(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

namespace {

struct EntryIdentity {
    dev_t device = 0;
    ino_t inode = 0;
};

std::optional<EntryIdentity> entryAt(const FolderLock& lock, const std::filesystem::path& name) {
    struct stat status {};
    if (::fstatat(lock.descriptor(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return EntryIdentity{status.st_dev, status.st_ino};
}

bool operator==(const timespec& one, const timespec& other) {
    return one.tv_sec == other.tv_sec && one.tv_nsec == other.tv_nsec;
}

// Before the commit's own link or rename, any change of the file read changed its change
// time; after them, which change it too, the size and the modification time must do.
enum class Since { Read, OwnChanges };

// The name names the file read, its bytes untouched since: an editor that wrote in place
// changed its times. The status of a name is its file's, so one look tells both.
bool nameStillNamesRead(const PictureCommit& commit, const std::filesystem::path& name,
                        Since since = Since::OwnChanges) {
    struct stat now {};
    return ::fstatat(commit.lock.descriptor(), name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           now.st_dev == commit.read.device && now.st_ino == commit.read.inode &&
           now.st_size == commit.read.size && now.st_mtim == commit.read.modified &&
           (since == Since::OwnChanges || now.st_ctim == commit.read.changed);
}

// The copy's own name says which file it was given; it is in the picture's folder.
std::optional<EntryIdentity> copyIdentity(const PictureCommit& commit,
                                          const std::filesystem::path& copyName) {
    if (const auto own = parseOwnName(copyName.native())) {
        return EntryIdentity{commit.read.device, static_cast<ino_t>(own->file)};
    }
    return entryAt(commit.lock, copyName);
}

FileFailure failure(FileFailure::Kind kind, Error error) {
    return {kind, std::move(error), {}, {}};
}

FileFailure changed(const PictureCommit& commit) {
    return failure(FileFailure::Kind::Conversion,
                   Error(ErrorKind::ChangedDuringRun, commit.picture));
}

// A failure after the original was held: the held name goes only where the original keeps
// another, and is named in the failure where it is kept (a held original the next run puts in
// place).
FileFailure failedHolding(FileFailure result, std::unique_ptr<HeldOriginal>& held) {
    if (held) {
        if (auto kept = held->release()) {
            result.keptOriginal = std::move(*kept);
        }
    }
    return result;
}

bool exchangeUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP;
}

class Commit {
public:
    Commit(const PictureCommit& commit, FileSystem& fileSystem)
        : commit_(commit)
        , fileSystem_(fileSystem)
        , name_(commit.picture.filename())
        , copyName_(commit.copy.name().filename())
        , copyEntry_(copyIdentity(commit, copyName_)) {}

    std::optional<FileFailure> run() {
        // A small file's bytes are compared after the swap, which tells every change since the
        // read; a larger file's last look at its name comes after its lease is taken.
        const bool comparesBytes = !commit_.readBytes.empty();
        leased_ = !comparesBytes && takeReadLease(commit_.original);
        if (!comparesBytes && !nameStillNamesRead(commit_, name_, Since::Read)) {
            return changed(commit_);
        }
        if (auto refused = holdForBackup(commit_, fileSystem_, held_)) {
            return refused;
        }
        if (auto failed = swapIn()) {
            return failedHolding(std::move(*failed), held_);
        }
        return placeBackup();
    }

private:
    // The file read still holds the bytes that were converted: compared where they were read
    // whole, otherwise told by the lease, where there is one.
    bool bytesUntouched() const {
        if (commit_.readBytes.empty()) {
            return !leased_ || readLeaseHeld(commit_.original);
        }
        std::vector<std::uint8_t> now(commit_.readBytes.size() + 1);
        const ssize_t count = ::pread(commit_.original, now.data(), now.size(), 0);
        return count == static_cast<ssize_t>(commit_.readBytes.size()) &&
               std::equal(commit_.readBytes.begin(), commit_.readBytes.end(), now.begin());
    }

    int rename(unsigned flags) {
        return fileSystem_.renameInFolder(commit_.lock.descriptor(), copyName_.c_str(),
                                          name_.c_str(), flags);
    }

    // The copy takes the picture's name; the name it leaves holds what the picture was.
    std::optional<FileFailure> swapIn() {
        int error = rename(RENAME_EXCHANGE);
        if (exchangeUnsupported(error)) {
            // Without an exchange, the check and the rename are as close as they can be.
            if (!nameStillNamesRead(commit_, name_) || !bytesUntouched()) {
                return changed(commit_);
            }
            exchanged_ = false;
            error = rename(0);
        }
        if (error != 0 && !copyTookThePlace()) {
            if (!nameStillNamesRead(commit_, name_)) {
                return changed(commit_);
            }
            return failure(FileFailure::Kind::Conversion, Error::fromErrno(error, commit_.picture));
        }
        commit_.copy.forgetName(); // the copy is the picture now
        if (exchanged_ && (!nameStillNamesRead(commit_, copyName_) || !bytesUntouched())) {
            return swapBack();
        }
        return std::nullopt;
    }

    bool copyTookThePlace() const {
        const auto now = entryAt(commit_.lock, name_);
        return now && copyEntry_ && now->device == copyEntry_->device &&
               now->inode == copyEntry_->inode;
    }

    // Someone else's file was swapped out: it gets its name back, and the copy goes.
    FileFailure swapBack() {
        if (rename(RENAME_EXCHANGE) != 0 || copyTookThePlace()) {
            // Both stay where they are, and the user is told where that file is.
            FileFailure result = changed(commit_);
            result.otherSave = commit_.lock.path() / copyName_;
            return result;
        }
        ::unlinkat(commit_.lock.descriptor(), copyName_.c_str(), 0);
        return changed(commit_);
    }

    std::optional<FileFailure> placeBackup() {
        std::optional<FileFailure> result;
        if (held_) {
            try {
                held_->commit(fileSystem_, commit_.backupWasFree);
            } catch (const Error& error) {
                FileFailure notPlaced = failure(FileFailure::Kind::BackupNotPlaced, error);
                notPlaced.keptOriginal = held_->path();
                result = std::move(notPlaced);
            }
        }
        // The name the copy left holds the original too (swapIn saw it there just now); it
        // goes once the original has another name, or none was asked for.
        if (exchanged_) {
            ::unlinkat(commit_.lock.descriptor(), copyName_.c_str(), 0);
        }
        return result;
    }

    const PictureCommit& commit_;
    FileSystem& fileSystem_;
    std::filesystem::path name_;
    std::filesystem::path copyName_;
    std::optional<EntryIdentity> copyEntry_;
    std::unique_ptr<HeldOriginal> held_;
    bool exchanged_ = true;
    bool leased_ = false;
};

} // namespace

std::optional<FileFailure> commitPicture(const PictureCommit& commit, FileSystem& fileSystem) {
    return Commit(commit, fileSystem).run();
}

} // namespace pixtint
