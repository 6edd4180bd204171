// SPDX-License-Identifier: MIT
#pragma once

#include "commit/FileOutcome.h"
#include "engine/Error.h"
#include "filesafety/FileState.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

namespace pixtint {

class FileSystem;
class FolderLock;
struct PictureCommit;

// The backup of a picture, always in the picture's own folder: the last three characters of
// the file name become "bak" when the name has a three-character extension (a.bmp keeps its
// original as a.bak); any other name gets ".bak" (ab as ab.bak). Works on the native bytes,
// so a name in any encoding keeps everything else. Throws Error (EINVAL) for a path without a
// file name.
std::filesystem::path backupPathFor(const std::filesystem::path& picture);

// Whether `backup` holds an earlier backup: a regular file (not a link, a pipe, a folder)
// whose bytes start as a BMP picture's. Answers why not, or nothing when it is one. A name
// with nothing there answers ENOENT.
std::optional<Error> notABackup(const std::filesystem::path& backup);

// Whether a picture's original may be put at `backup`: nothing there, or an earlier backup its
// owner did not make read-only. Anything else (a user's text file, a folder, a link) stops the
// picture before it is converted. Answers why it may not. `free`, when given, tells whether
// nothing at all was there.
std::optional<Error> backupPlaceRefused(const std::filesystem::path& backup, bool* free = nullptr);

// The backup names of one run. Two pictures whose names differ only in their last three bytes
// (dup.bmp and dup.BMP on a case-sensitive disk) share one backup name; the first to claim it
// keeps it, and the other is not converted, so neither original is lost. A backup name that
// is itself a picture of the run is never claimed either.
class BackupClaims {
public:
    explicit BackupClaims(std::span<const std::filesystem::path> pictures);

    // Claims `backup` for `picture`, or answers why it cannot have it. `foundAt`, when given,
    // is what will be in the backup's place by then (a dry run's held original). `placeFree`,
    // when given, tells whether nothing at all was there.
    std::optional<FileFailure> claim(const std::filesystem::path& picture,
                                     const std::filesystem::path& backup,
                                     const std::filesystem::path& foundAt = {},
                                     bool* placeFree = nullptr);

private:
    std::set<std::string> pictures_;
    std::map<std::string, std::string> claimed_; // backup -> picture
};

// Which pictures of a folder share a backup name (a.bmp and a.BMP both keep theirs as a.bak):
// a fact of the folder, whatever a run's list holds, so that no run ever gives one of them the
// backup that holds the other's only original. The pictures are the folder's entries matching
// "*.bmp" in any case; a symbolic link is none, as its picture's backup is beside its target.
class FolderBackupNames {
public:
    // Lists the folder once; a folder that cannot be listed has no names to share.
    explicit FolderBackupNames(const std::filesystem::path& folder);

    // Another picture of the folder with the same backup name as the picture named `name`.
    std::optional<std::filesystem::path::string_type>
    sharedWith(const std::filesystem::path::string_type& name) const;

private:
    // The pictures' names, by their backup's name.
    std::unordered_map<std::filesystem::path::string_type,
                       std::vector<std::filesystem::path::string_type>>
        pictures_;
};

// The original of one picture while its commit runs: the very file that was read, given its
// own held name beside its backup (OwnRole::Held, see filesafety/OwnNames.h) until the
// picture is known to be converted. Only then does it replace the backup, in one rename, so
// that a failed item leaves an older backup as it was. A hard link to the descriptor that was
// read holds it at no cost whatever its size; where the file system has no hard links its
// bytes are copied and flushed. Made and ended under the folder's lock, so a held name the
// lock's next holder finds was left by a killed run.
class HeldOriginal {
public:
    // Throws Error: ChangedDuringRun when the file read has no name any more, or why it could
    // be neither linked nor copied.
    // `original` is the descriptor the picture was read through, `read` its file's number.
    HeldOriginal(int original, FileNumber read, std::filesystem::path backup,
                 const FolderLock& lock, FileSystem& fileSystem);
    // Lets go of a held name that did not become the backup (see release()).
    ~HeldOriginal();
    HeldOriginal(const HeldOriginal&) = delete;
    HeldOriginal& operator=(const HeldOriginal&) = delete;

    // Moves the held original over the backup in one step; a backup that is already another
    // name of the original (a hard link to the picture) just loses the held name. A rename
    // that reports a failure but took effect counts as done. Throws Error; the original then stays
    // held. `placeWasFree`: nothing was at the backup's name when it was last checked; the
    // original then takes the name only if it is still free, and whatever came there since is
    // checked as an earlier backup would have been (Error: why it may not be replaced).
    void commit(FileSystem& fileSystem, bool placeWasFree = false);

    // Removes the held name when the original still has another name, which is never the case
    // for a copy. Answers the held name when it was kept because it is the original's last
    // name: the next run in the folder puts it in place.
    std::optional<std::filesystem::path> release();

    const std::filesystem::path& path() const { return held_; }

private:
    int original_;
    const FolderLock& lock_;
    std::filesystem::path backup_;
    std::filesystem::path held_;
    FileNumber heldFile_ = 0;
    bool copied_ = false;
    bool holding_ = false;
};

// A commit's hold (see PictureCommit.h, step 4), when its picture keeps a backup: the original
// held by `held`. An earlier backup is checked again first, since another program may have put
// anything there after the claim; a name that was free is taken only if it still is (see
// HeldOriginal::commit), so whatever comes there meanwhile is never replaced unseen. Answers
// the commit's failure when the original cannot be held.
std::optional<FileFailure> holdForBackup(const PictureCommit& commit, FileSystem& fileSystem,
                                         std::unique_ptr<HeldOriginal>& held);

} // namespace pixtint
