#include "conversion/BackupPlace.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

std::optional<AppError> backupPlaceBlocked(const std::filesystem::path& backup) {
    struct stat status {};
    if (::lstat(backup.c_str(), &status) != 0) {
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode)) {
        return AppError::fromErrno(EISDIR, backup);
    }
    if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
        return AppError::fromErrno(EINVAL, backup);
    }
    // A read-only backup is one its owner meant to keep.
    if (S_ISREG(status.st_mode) && ::access(backup.c_str(), W_OK) != 0) {
        return AppError::fromErrno(errno, backup);
    }
    return std::nullopt;
}

} // namespace pixtint
