// SPDX-License-Identifier: MIT
#pragma once

#include "commit/InterruptedCommits.h"
#include "engine/Error.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace pixtint {

enum class RestoreStatus {
    Restored,   // the backup took the picture's place and is gone, and that is on the disk
    NoBackup,   // there is nothing to put back: the picture is left alone
    NotABackup, // NAME.bak holds something else (`error` says what): both are left alone
    Failed,     // the picture and its backup are left as they were; `error` says why
    NotFlushed, // the backup took the picture's place, but the folder's flush failed (`error`):
                // after a power cut the picture may be its converted bytes again
    FolderNotWritable, // the folder takes no rename (`error` is the folder's, and says why):
                       // the picture and its backup are left as they were
};

struct RestoreOutcome {
    RestoreStatus status = RestoreStatus::Failed;
    std::filesystem::path backup;
    std::optional<Error> error;
};

struct RestoreOptions {
    bool dryRun = false; // change nothing; outcomes say what would happen
};

struct RestoreCallbacks {
    // Every picture's outcome, in the order of the list, on the calling thread.
    std::function<void(const std::filesystem::path& picture, const RestoreOutcome& outcome)>
        outcome;
    // Asked between pictures; true ends the restore once the pictures already renamed are
    // flushed and reported. Optional.
    std::function<bool()> stopRequested;
    // What the restore found of an interrupted run in a folder, before it works there. Optional.
    std::function<void(const Recovery&)> recovered;
};

// Undoes conversions: puts the backup a conversion kept of a picture (NAME.bak) back in the
// picture's place with one rename, so that at every moment, a crash included, the picture is
// its converted or its original content. Only an earlier backup is put back: a regular file
// holding a BMP picture, never a link, a pipe or a user's other file of that name. A picture
// reached through a symbolic link is restored where the link points, as it was converted.
// Before it works in a folder, it finishes what an interrupted conversion left there.
class BackupRestore {
public:
    // `fileSystem` makes the calls that put backups in place and make them last.
    explicit BackupRestore(RestoreOptions options = {}, FileSystem& fileSystem = systemFileSystem())
        : options_(options)
        , fileSystem_(fileSystem) {}

    // Restores `pictures` in their order. Neighbours in one folder are restored under one hold
    // of its lock and share one flush of the folder, and their outcomes are told only after
    // it, so that "restored" is only said of what is on the disk. Answers false when it was
    // stopped before the last picture.
    bool restore(std::span<const std::filesystem::path> pictures,
                 const RestoreCallbacks& callbacks);

private:
    std::size_t restoreFolderRun(std::span<const std::filesystem::path> pictures, std::size_t first,
                                 const RestoreCallbacks& callbacks);
    void finishInterruptedOnce(const FolderLock& lock, const RestoreCallbacks& callbacks);
    RestoreOutcome restoreUnderLock(const FolderLock& lock, const std::filesystem::path& picture,
                                    const std::optional<Error>& unwritableFolder);

    RestoreOptions options_;
    FileSystem& fileSystem_;
    std::set<std::filesystem::path> finishedFolders_;
    // A dry run's recoveries: the held original each backup would be (path to path).
    std::map<std::filesystem::path, std::filesystem::path> heldForBackup_;
};

} // namespace pixtint
