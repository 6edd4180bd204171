// SPDX-License-Identifier: MIT
// The calls of filesafety/FileSystem.h made with Windows' own.
#include "filesafety/FileSystem.h"
#include "filesafety/PosixFile.h"
#include "filesafety/windows/WindowsFile.h"

#include <cerrno>

namespace pixtint {

int FileSystem::createUnnamed(const Name*) {
    return -EOPNOTSUPP; // Windows makes no file without a name: SiblingFile names it at once
}

int FileSystem::linkFile(int descriptor, int folder, const Name* name) {
    return linkDescriptor(descriptor, folder, name);
}

int FileSystem::renameInFolder(int folder, const Name* from, const Name* to, unsigned flags) {
    if (flags == RENAME_EXCHANGE) {
        return EINVAL; // no exchange of two names on Windows
    }
    const auto at = folderPathOf(folder);
    if (at.empty()) {
        return errnoOf(::GetLastError());
    }
    return moveFile(at / from, at / to, flags != RENAME_NOREPLACE);
}

// Windows flushes a whole volume only for an administrator; each copy's own flush below makes
// its bytes last.
int FileSystem::syncFileSystem(int) {
    return 0;
}

int FileSystem::syncData(int descriptor) {
    return ::FlushFileBuffers(handleOf(descriptor)) ? 0 : errnoOf(::GetLastError());
}

int FileSystem::syncFile(int descriptor) {
    return ::FlushFileBuffers(handleOf(descriptor)) ? 0 : errnoOf(::GetLastError());
}

// Every rename is made with MOVEFILE_WRITE_THROUGH: it is on the disk when it returns.
int FileSystem::syncFolder(int) {
    return 0;
}

int FileSystem::closeFile(int descriptor) {
    return ::CloseHandle(handleOf(descriptor)) ? 0 : errnoOf(::GetLastError());
}

FileSystem& systemFileSystem() {
    static FileSystem system;
    return system;
}

} // namespace pixtint
