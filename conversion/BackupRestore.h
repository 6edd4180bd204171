// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/InterruptedCommits.h"
#include "engine/Error.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <set>

namespace pixtint {

enum class RestoreStatus {
    Restored,   // the backup took the picture's place and is gone
    NoBackup,   // there is nothing to put back: the picture is left alone
    NotABackup, // NAME.bak holds something else (`error` says what): both are left alone
    Failed,     // the picture and its backup are left as they were; `error` says why
};

struct RestoreOutcome {
    RestoreStatus status = RestoreStatus::Failed;
    std::filesystem::path backup;
    std::optional<Error> error;
};

// Undoes conversions: puts the backup a conversion kept of a picture (NAME.bak) back in the
// picture's place with one rename, so that at every moment, a crash included, the picture is
// its converted or its original content. Only an earlier backup is put back: a regular file
// holding a BMP picture, never a link, a pipe or a user's other file of that name. A picture
// reached through a symbolic link is restored where the link points, as it was converted.
// Before it works in a folder, it finishes what an interrupted conversion left there. The
// folders renamed in are flushed to disk once, when the restore ends.
class BackupRestore {
public:
    // `recovered` hears what was found of an interrupted run (optional).
    explicit BackupRestore(bool dryRun, std::function<void(const Recovery&)> recovered = {})
        : dryRun_(dryRun)
        , recovered_(std::move(recovered)) {}
    ~BackupRestore() { finish(); }
    BackupRestore(const BackupRestore&) = delete;
    BackupRestore& operator=(const BackupRestore&) = delete;

    // In a dry run, says what would happen and changes nothing.
    RestoreOutcome restore(const std::filesystem::path& picture);

    // Flushes the folders renamed in so far.
    void finish() noexcept;

private:
    RestoreOutcome restoreUnderLock(const std::filesystem::path& picture);

    bool dryRun_;
    std::function<void(const Recovery&)> recovered_;
    std::set<std::filesystem::path> finishedFolders_;
    std::set<std::filesystem::path> foldersToFlush_;
};

} // namespace pixtint
