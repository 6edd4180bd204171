#include "conversion/BackupRestore.h"

#include "conversion/Backup.h"
#include "engine/PosixFile.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace pixtint {

namespace {

// A name too short to have a backup name, or one that is its own backup name (x.bak), has
// no backup to put back.
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

RestoreOutcome BackupRestore::restore(const std::filesystem::path& picture) {
    auto backup = backupNameOf(picture);
    if (!backup) {
        return {RestoreStatus::NoBackup, {}, std::nullopt};
    }
    struct stat status {};
    if (::lstat(backup->c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return {RestoreStatus::NoBackup, std::move(*backup), std::nullopt};
        }
        return failure(std::move(*backup), Error::fromErrno(errno, *backup));
    }
    // Only a file we could have made: a folder or a link of that name is someone else's.
    if (!S_ISREG(status.st_mode)) {
        return failure(std::move(*backup), Error::fromErrno(EINVAL, *backup));
    }
    if (!dryRun_) {
        if (std::rename(backup->c_str(), picture.c_str()) != 0) {
            return failure(std::move(*backup), Error::fromErrno(errno, picture));
        }
        foldersToFlush_.try_emplace(picture.parent_path(), picture);
    }
    return {RestoreStatus::Restored, std::move(*backup), std::nullopt};
}

void BackupRestore::finish() noexcept {
    for (const auto& [folder, picture] : foldersToFlush_) {
        syncFolderOf(picture);
    }
    foldersToFlush_.clear();
}

} // namespace pixtint
