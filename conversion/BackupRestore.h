// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/InterruptedCommits.h"
#include "engine/Error.h"
#include "filesafety/FileSystem.h"
#include "filesafety/FolderLock.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace pixtint {

enum class RestoreStatus {
    Restored,   // the backup took the picture's place and is gone, and that is on the disk
    NoBackup,   // there is nothing to put back: the picture is left alone
    NotABackup, // NAME.bak holds something else (`error` says what): both are left alone
    Failed,     // the picture and its backup are left as they were; `error` says why
    NotFlushed, // the backup took the picture's place, but the folder's flush failed (`error`):
                // after a power cut the picture may be its converted bytes again
};

struct RestoreOutcome {
    RestoreStatus status = RestoreStatus::Failed;
    std::filesystem::path backup;
    std::optional<Error> error;
};

using RestoreOutcomeReport =
    std::function<void(const std::filesystem::path& picture, const RestoreOutcome& outcome)>;

// Undoes conversions: puts the backup a conversion kept of a picture (NAME.bak) back in the
// picture's place with one rename, so that at every moment, a crash included, the picture is
// its converted or its original content. Only an earlier backup is put back: a regular file
// holding a BMP picture, never a link, a pipe or a user's other file of that name. A picture
// reached through a symbolic link is restored where the link points, as it was converted.
// Before it works in a folder, it finishes what an interrupted conversion left there.
class BackupRestore {
public:
    // `recovered` hears what was found of an interrupted run (optional).
    explicit BackupRestore(bool dryRun, std::function<void(const Recovery&)> recovered = {},
                           FileSystem& fileSystem = systemFileSystem())
        : dryRun_(dryRun)
        , recovered_(std::move(recovered))
        , fileSystem_(fileSystem) {}

    // Restores `pictures` in their order. Neighbours in one folder are restored under one hold
    // of its lock and share one flush of the folder, and `report` hears of them only after it,
    // so that "restored" is only said of what is on the disk. `stopRequested` is asked between
    // pictures; answers false when it stopped the restore before the last one. In a dry run,
    // says what would happen and changes nothing.
    bool restore(const std::vector<std::filesystem::path>& pictures,
                 const RestoreOutcomeReport& report,
                 const std::function<bool()>& stopRequested = {});

private:
    std::size_t restoreFolderRun(const std::vector<std::filesystem::path>& pictures,
                                 std::size_t first, const RestoreOutcomeReport& report,
                                 const std::function<bool()>& stopRequested);
    void finishInterruptedOnce(const FolderLock& lock);
    RestoreOutcome restoreUnderLock(const FolderLock& lock, const std::filesystem::path& picture);

    bool dryRun_;
    std::function<void(const Recovery&)> recovered_;
    FileSystem& fileSystem_;
    std::set<std::filesystem::path> finishedFolders_;
    // A dry run's recoveries: the held original each backup would be (path to path).
    std::map<std::filesystem::path, std::filesystem::path> heldForBackup_;
};

} // namespace pixtint
