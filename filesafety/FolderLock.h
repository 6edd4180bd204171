// SPDX-License-Identifier: MIT
#pragma once

#include "filesafety/PosixFile.h"

#include <filesystem>

namespace pixtint {

// A folder kept to one run at a time: whoever holds it may put files in place there, create
// or remove the program's own hidden entries, and finish what an interrupted run left. Held
// through a lock on the open folder (on Windows, a mutex named after it), so a killed run lets
// go at once. Blocks until it is free.
class FolderLock {
public:
    // Throws Error when the folder cannot be opened.
    explicit FolderLock(const std::filesystem::path& folder);
#ifdef _WIN32
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
#endif

    int descriptor() const {
        return folder_.get();
    }
    const std::filesystem::path& path() const {
        return path_;
    }

private:
    std::filesystem::path path_;
    UniqueFd folder_;
#ifdef _WIN32
    UniqueFd mutex_; // see filesafety/windows/FolderLockWindows.cpp
#endif
};

// The folder an entry is in, "." for a bare name.
inline std::filesystem::path folderOf(const std::filesystem::path& entry) {
    return entry.has_parent_path() ? entry.parent_path() : std::filesystem::path(".");
}

// The file itself: where a symbolic link points, or the path when it is no link (or a link
// that leads nowhere). Its folder is the one to lock.
inline std::filesystem::path fileAt(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    auto target = std::filesystem::canonical(path, error);
    return error ? path : target;
}

} // namespace pixtint
