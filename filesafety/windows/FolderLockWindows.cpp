// SPDX-License-Identifier: MIT
// filesafety/FolderLock.h on Windows.
#include "filesafety/FolderLock.h"
#include "filesafety/windows/WindowsFile.h"

#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>

namespace pixtint {

namespace {

// The folders the locks of this process hold open, by descriptor: the calls that work on
// names in a locked folder are handed its descriptor, and Windows cannot always tell a
// folder's path from its handle (Wine cannot past MAX_PATH).
struct LockedFolders {
    std::mutex guard;
    std::map<int, std::filesystem::path> paths;
};

LockedFolders& lockedFolders() {
    static LockedFolders folders;
    return folders;
}

} // namespace

std::filesystem::path folderPathOf(int folder) {
    {
        auto& locked = lockedFolders();
        const std::lock_guard hold(locked.guard);
        if (const auto found = locked.paths.find(folder); found != locked.paths.end()) {
            return found->second;
        }
    }
    return openedPath(handleOf(folder));
}

// The lock is a named mutex of the folder's volume and file number: it puts no file in the
// user's folder, works in a folder the run may not write (a dry run, a restore that fails
// there), and Windows lets go of it the moment a killed run's process ends (the next holder
// is told it was abandoned, which is just what a killed run leaves). It serialises the runs
// of one computer; two computers converting one network folder at once are not kept apart.
FolderLock::FolderLock(const std::filesystem::path& folder)
    : path_(folder.empty() ? std::filesystem::path(".") : folder)
    , folder_(descriptorOf(openFile(path_, FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE))) {
    if (folder_.get() < 0) {
        throwWindowsError(::GetLastError(), path_);
    }
    const FileState state = stateOf(handleOf(folder_.get()), path_);
    if ((state.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        throwErrno(ENOTDIR, path_);
    }
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"Global\\pixtint-folder-%llx-%llx",
                  static_cast<unsigned long long>(state.st_dev),
                  static_cast<unsigned long long>(state.st_ino));
    mutex_ = UniqueFd(descriptorOf(::CreateMutexW(nullptr, FALSE, name)));
    if (mutex_.get() <= 0) {
        throwWindowsError(::GetLastError(), path_);
    }
    const DWORD waited = ::WaitForSingleObject(handleOf(mutex_.get()), INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        throwWindowsError(::GetLastError(), path_);
    }
    auto& locked = lockedFolders();
    const std::lock_guard hold(locked.guard);
    locked.paths[folder_.get()] = longPath(path_);
}

FolderLock::~FolderLock() {
    {
        auto& locked = lockedFolders();
        const std::lock_guard hold(locked.guard);
        locked.paths.erase(folder_.get());
    }
    if (mutex_.get() > 0) {
        ::ReleaseMutex(handleOf(mutex_.get()));
    }
}

} // namespace pixtint
