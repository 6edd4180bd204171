// SPDX-License-Identifier: MIT
#include "commit/FolderWritability.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace pixtint {

std::optional<Error> folderWriteProblem(const std::filesystem::path& folder) {
    const std::filesystem::path& name = folder.empty() ? std::filesystem::path(".") : folder;
    // Where the C library checks the mode bits itself (kernels without faccessat2), a
    // read-only mount would pass; the mount's own flag says it in any case.
    struct statvfs mount {};
    if (::statvfs(name.c_str(), &mount) == 0 && (mount.f_flag & ST_RDONLY) != 0) {
        return Error::fromErrno(EROFS, name);
    }
    if (::faccessat(AT_FDCWD, name.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return Error::fromErrno(errno, name);
    }
    return std::nullopt;
}

} // namespace pixtint
