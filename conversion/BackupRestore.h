#pragma once

#include "engine/Error.h"

#include <filesystem>
#include <map>
#include <optional>

namespace pixtint {

enum class RestoreStatus {
    Restored, // the backup took the picture's place and is gone
    NoBackup, // there is nothing to put back: the picture is left alone
    Failed,   // the picture and its backup are left as they were; `error` says why
};

struct RestoreOutcome {
    RestoreStatus status = RestoreStatus::Failed;
    std::filesystem::path backup;
    std::optional<Error> error;
};

// Undoes conversions: puts the backup a conversion kept of a picture (NAME.bak) back in the
// picture's place with one rename, so that at every moment, a crash included, the picture is
// its converted or its original content. The folders renamed in are flushed to disk once,
// when the restore ends.
class BackupRestore {
public:
    explicit BackupRestore(bool dryRun)
        : dryRun_(dryRun) {}
    ~BackupRestore() { finish(); }
    BackupRestore(const BackupRestore&) = delete;
    BackupRestore& operator=(const BackupRestore&) = delete;

    // In a dry run, says what would happen and changes nothing.
    RestoreOutcome restore(const std::filesystem::path& picture);

    // Flushes the folders renamed in so far.
    void finish() noexcept;

private:
    bool dryRun_;
    std::map<std::filesystem::path, std::filesystem::path>
        foldersToFlush_; // folder: a picture in it
};

} // namespace pixtint
