// SPDX-License-Identifier: MIT
// commit/PictureCommit.h on Windows. The picture was opened without write or delete
// sharing when it was read, so until the commit no other program could change, rename or
// delete it. The commit gives the original its held name (a hard link), lets go of it, checks
// the name still names it unchanged, and renames the copy over it in one write-through
// MoveFileExW: at every moment the picture is its old bytes or its new ones. (ReplaceFileW
// would carry the picture's access list and streams over, but it is two renames, between
// which a crash leaves no file under the picture's name.)
#include "commit/Backup.h"
#include "commit/PictureCommit.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"
#include "filesafety/windows/WindowsFile.h"

#include <cerrno>
#include <memory>

namespace pixtint {

ReadIdentity ReadIdentity::of(const FileState& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

namespace {

FileFailure failure(FileFailure::Kind kind, Error error) {
    return {kind, std::move(error), {}, {}};
}

FileFailure changed(const PictureCommit& commit) {
    return failure(FileFailure::Kind::Conversion,
                   Error(ErrorKind::ChangedDuringRun, commit.picture));
}

bool operator==(const timespec& one, const timespec& other) {
    return one.tv_sec == other.tv_sec && one.tv_nsec == other.tv_nsec;
}

bool stillTheFileRead(const PictureCommit& commit) {
    const auto now = stateAt(commit.picture);
    return now && now->st_dev == commit.read.device && now->st_ino == commit.read.inode &&
           now->st_size == commit.read.size && now->st_mtim == commit.read.modified;
}

FileFailure failedHolding(FileFailure result, std::unique_ptr<HeldOriginal>& held) {
    if (held) {
        if (auto kept = held->release(); kept && result.keptOriginal.empty()) {
            result.keptOriginal = std::move(*kept);
        }
    }
    return result;
}

class Commit {
public:
    Commit(const PictureCommit& commit, FileSystem& fileSystem)
        : commit_(commit)
        , fileSystem_(fileSystem) {}

    std::optional<FileFailure> run() {
        // A read-only picture is one its owner means to keep as it is.
        const DWORD attributes = ::GetFileAttributesW(longPath(commit_.picture).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            return failure(FileFailure::Kind::Conversion,
                           Error::fromErrno(EACCES, commit_.picture));
        }
        if (auto refused = holdForBackup(commit_, fileSystem_, held_)) {
            return refused;
        }
        commit_.letGoOfOriginal();
        if (!stillTheFileRead(commit_)) {
            return failedHolding(changed(commit_), held_);
        }
        if (const int error = moveFile(commit_.copy.name(), commit_.picture, true)) {
            return failedHolding(
                failure(FileFailure::Kind::Conversion, Error::fromErrno(error, commit_.picture)),
                held_);
        }
        commit_.copy.forgetName(); // the copy is the picture now
        return placeBackup();
    }

private:
    std::optional<FileFailure> placeBackup() {
        if (!held_) {
            return std::nullopt;
        }
        try {
            held_->commit(fileSystem_, commit_.backupWasFree);
        } catch (const Error& error) {
            FileFailure notPlaced = failure(FileFailure::Kind::BackupNotPlaced, error);
            notPlaced.keptOriginal = held_->path();
            return notPlaced;
        }
        return std::nullopt;
    }

    const PictureCommit& commit_;
    FileSystem& fileSystem_;
    std::unique_ptr<HeldOriginal> held_;
};

} // namespace

std::optional<FileFailure> commitPicture(const PictureCommit& commit, FileSystem& fileSystem) {
    return Commit(commit, fileSystem).run();
}

} // namespace pixtint
