#include "conversion/BackupClaims.h"

#include "conversion/BackupPlace.h"

namespace pixtint {

namespace {

std::filesystem::path key(const std::filesystem::path& path) {
    return path.lexically_normal();
}

FileFailure sharedWith(const std::filesystem::path& other) {
    return {
        FileFailure::Kind::BackupNameShared, AppError(ErrorNumber::FileAlreadyExists), other, {}};
}

} // namespace

BackupClaims::BackupClaims(std::span<const std::filesystem::path> pictures) {
    for (const auto& picture : pictures) {
        pictures_.insert(key(picture));
    }
}

std::optional<FileFailure> BackupClaims::claim(const std::filesystem::path& picture,
                                               const std::filesystem::path& backup) {
    const auto backupKey = key(backup);
    if (backupKey == key(picture)) {
        // A picture named like a backup would be overwritten by its own original.
        return FileFailure{
            FileFailure::Kind::BackupBlocked, AppError(ErrorNumber::FileAlreadyExists), {}, {}};
    }
    if (pictures_.contains(backupKey)) {
        return sharedWith(backup);
    }
    if (const auto claimed = claimed_.find(backupKey); claimed != claimed_.end()) {
        return sharedWith(claimed->second);
    }
    if (auto blocked = backupPlaceBlocked(backup)) {
        return FileFailure{FileFailure::Kind::BackupBlocked, *blocked, {}, {}};
    }
    claimed_.emplace(backupKey, picture);
    return std::nullopt;
}

} // namespace pixtint
