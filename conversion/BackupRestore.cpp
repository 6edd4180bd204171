// SPDX-License-Identifier: MIT
#include "conversion/BackupRestore.h"

#include "conversion/Backup.h"
#include "engine/FolderLock.h"
#include "engine/PosixFile.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

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

std::filesystem::path whereItIs(const std::filesystem::path& picture) {
    std::error_code error;
    if (!std::filesystem::is_symlink(picture, error)) {
        return picture;
    }
    auto target = std::filesystem::canonical(picture, error);
    return error ? picture : target;
}

} // namespace

RestoreOutcome BackupRestore::restore(const std::filesystem::path& picture) {
    const auto target = whereItIs(picture);
    const auto folder = folderOf(target);
    try {
        const FolderLock lock(folder);
        if (finishedFolders_.insert(folder).second) {
            for (const auto& recovery : finishInterruptedCommits(lock, dryRun_)) {
                if (recovered_) {
                    recovered_(recovery);
                }
            }
        }
        return restoreUnderLock(target);
    } catch (const Error& error) {
        return failure({}, error);
    }
}

RestoreOutcome BackupRestore::restoreUnderLock(const std::filesystem::path& picture) {
    auto backup = backupNameOf(picture);
    if (!backup) {
        return {RestoreStatus::NoBackup, {}, std::nullopt};
    }
    if (auto refused = notABackup(*backup)) {
        if (refused->kind() == ErrorKind::System && refused->systemError() == ENOENT) {
            return {RestoreStatus::NoBackup, std::move(*backup), std::nullopt};
        }
        if (refused->kind() == ErrorKind::NotABackup) {
            return {RestoreStatus::NotABackup, std::move(*backup), std::move(refused)};
        }
        return failure(std::move(*backup), std::move(*refused));
    }
    if (!dryRun_) {
        if (std::rename(backup->c_str(), picture.c_str()) != 0) {
            return failure(std::move(*backup), Error::fromErrno(errno, picture));
        }
        foldersToFlush_.insert(folderOf(picture));
    }
    return {RestoreStatus::Restored, std::move(*backup), std::nullopt};
}

void BackupRestore::finish() noexcept {
    for (const auto& folder : foldersToFlush_) {
        syncFolderOf(folder / ".");
    }
    foldersToFlush_.clear();
}

} // namespace pixtint
