// SPDX-License-Identifier: MIT
#include "commit/BackupRestore.h"

#include "commit/Backup.h"
#include "commit/FolderWritability.h"
#include "filesafety/FileAttributes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace pixtint {

namespace {

// A name that is its own backup name (x.bak) has no backup to put back.
std::optional<std::filesystem::path> backupNameOf(const std::filesystem::path& picture) {
    try {
        auto backup = backupPathFor(picture);
        return backup == picture ? std::nullopt : std::optional(std::move(backup));
    } catch (const Error&) {
        return std::nullopt;
    }
}

RestoreOutcome failure(std::filesystem::path backup, Error error) {
    return {RestoreStatus::Failed, std::move(backup), std::move(error)};
}

} // namespace

bool BackupRestore::restore(std::span<const std::filesystem::path> pictures,
                            const RestoreCallbacks& callbacks) {
    const auto& stopRequested = callbacks.stopRequested;
    std::size_t next = 0;
    while (next < pictures.size()) {
        if (stopRequested && stopRequested()) {
            return false;
        }
        next = restoreFolderRun(pictures, next, callbacks);
    }
    return true;
}

// Restores pictures from `first` on while they are in the folder of the first, flushes the
// folder once, then reports them. Answers the index of the first picture left.
std::size_t BackupRestore::restoreFolderRun(std::span<const std::filesystem::path> pictures,
                                            std::size_t first, const RestoreCallbacks& callbacks) {
    const auto& report = callbacks.outcome;
    const auto& stopRequested = callbacks.stopRequested;
    auto target = fileAt(pictures[first]);
    const auto folder = folderOf(target);
    std::optional<FolderLock> lock;
    try {
        lock.emplace(folder);
        finishInterruptedOnce(*lock, callbacks);
    } catch (const Error& error) {
        report(pictures[first], failure({}, error));
        return first + 1;
    }
    // Asked of the system before anything is renamed, so that a dry run says it too.
    const std::optional<Error> unwritableFolder = folderWriteProblem(folder);
    std::vector<RestoreOutcome> outcomes;
    bool renamed = false;
    std::size_t next = first;
    while (true) {
        outcomes.push_back(restoreUnderLock(*lock, target, unwritableFolder));
        renamed =
            renamed || (!options_.dryRun && outcomes.back().status == RestoreStatus::Restored);
        if (++next == pictures.size() || (stopRequested && stopRequested())) {
            break;
        }
        target = fileAt(pictures[next]);
        if (folderOf(target) != folder) {
            break;
        }
    }
    if (renamed) {
        if (const int failed = fileSystem_.syncFolder(lock->descriptor())) {
            for (auto& outcome : outcomes) {
                if (outcome.status == RestoreStatus::Restored) {
                    outcome.status = RestoreStatus::NotFlushed;
                    outcome.error = Error::fromErrno(failed, folder);
                }
            }
        }
    }
    lock.reset(); // another run in the folder need not wait for the reports
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        report(pictures[first + i], outcomes[i]);
    }
    return next;
}

void BackupRestore::finishInterruptedOnce(const FolderLock& lock,
                                          const RestoreCallbacks& callbacks) {
    if (!finishedFolders_.insert(lock.path()).second) {
        return;
    }
    for (const auto& recovery : finishInterruptedCommits(lock, options_.dryRun)) {
        if (options_.dryRun && recovery.action == Recovery::Action::MadeBackup) {
            heldForBackup_[recovery.backup] = recovery.held;
        }
        if (callbacks.recovered) {
            callbacks.recovered(recovery);
        }
    }
}

RestoreOutcome BackupRestore::restoreUnderLock(const FolderLock& lock,
                                               const std::filesystem::path& picture,
                                               const std::optional<Error>& unwritableFolder) {
    auto backup = backupNameOf(picture);
    if (!backup) {
        return {RestoreStatus::NoBackup, {}, std::nullopt};
    }
    // A dry run tells what the real one will find: a held original in the backup's place.
    const auto held = heldForBackup_.find(*backup);
    const auto& found = held == heldForBackup_.end() ? *backup : held->second;
    if (auto refused = notABackup(found)) {
        if (refused->kind() == ErrorKind::System && refused->systemError() == ENOENT) {
            return {RestoreStatus::NoBackup, std::move(*backup), std::nullopt};
        }
        if (refused->kind() == ErrorKind::NotABackup) {
            return {RestoreStatus::NotABackup, std::move(*backup), std::move(refused)};
        }
        return failure(std::move(*backup), std::move(*refused));
    }
    if (unwritableFolder) {
        return {RestoreStatus::FolderNotWritable, std::move(*backup), unwritableFolder};
    }
    if (isReadOnlyIn(lock.descriptor(), picture)) {
        return failure(std::move(*backup), Error(ErrorKind::ReadOnlyFile, picture));
    }
    if (!options_.dryRun) {
        // The backup is always beside its picture, in the locked folder.
        if (const int failed = fileSystem_.renameInFolder(
                lock.descriptor(), backup->filename().c_str(), picture.filename().c_str(), 0)) {
            return failure(std::move(*backup), Error::fromErrno(failed, picture));
        }
    }
    return {RestoreStatus::Restored, std::move(*backup), std::nullopt};
}

} // namespace pixtint
