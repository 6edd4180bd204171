// SPDX-License-Identifier: MIT
#include "filesafety/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace pixtint {

std::filesystem::path folderOf(const std::filesystem::path& entry) {
    return entry.has_parent_path() ? entry.parent_path() : std::filesystem::path(".");
}

std::filesystem::path fileAt(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    auto target = std::filesystem::canonical(path, error);
    return error ? path : target;
}

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
