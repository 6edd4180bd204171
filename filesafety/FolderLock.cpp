// SPDX-License-Identifier: MIT
#include "filesafety/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace pixtint {

FolderLock::FolderLock(const std::filesystem::path& folder)
    : path_(folder.empty() ? std::filesystem::path(".") : folder)
    , folder_(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (folder_.get() < 0) {
        throwErrno(errno, path_);
    }
    // Each lock opens the folder anew, so two threads of one run exclude each other as well.
    while (::flock(folder_.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            throwErrno(errno, path_);
        }
    }
}

} // namespace pixtint
