// SPDX-License-Identifier: MIT
#include "filesafety/FileSystem.h"

#include "filesafety/PosixFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pixtint {

namespace {

int errnoOf(int result) {
    return result == 0 ? 0 : errno;
}

} // namespace

int FileSystem::createUnnamed(const Name* folder) {
    const int descriptor = ::open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    return descriptor >= 0 ? descriptor : -errno;
}

int FileSystem::linkFile(int descriptor, int folder, const Name* name) {
    return linkDescriptor(descriptor, folder, name);
}

int FileSystem::renameInFolder(int folder, const Name* from, const Name* to, unsigned flags) {
    if (flags == 0) {
        return errnoOf(::renameat(folder, from, folder, to));
    }
    // Called through syscall() so that it builds against any C library the kernel outlives.
    return errnoOf(static_cast<int>(::syscall(SYS_renameat2, folder, from, folder, to, flags)));
}

int FileSystem::syncFileSystem(int descriptor) {
    return errnoOf(::syncfs(descriptor));
}

int FileSystem::syncData(int descriptor) {
    // Written back and waited for, without a flush of the disk's cache each time: that is the
    // file system's flush's work. The wait reports this file's own write-back errors since it
    // was opened, which the file system's flush may not.
    constexpr unsigned WriteAndWait =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    return errnoOf(::sync_file_range(descriptor, 0, 0, WriteAndWait));
}

int FileSystem::syncFile(int descriptor) {
    return errnoOf(::fsync(descriptor));
}

int FileSystem::syncFolder(int folder) {
    const int result = errnoOf(::fsync(folder));
    // Some file systems cannot flush a folder at all; their renames last as they can.
    return result == EINVAL || result == ENOTSUP ? 0 : result;
}

int FileSystem::closeFile(int descriptor) {
    const int result = errnoOf(::close(descriptor));
    // Linux releases the descriptor before it is interrupted: there is nothing to retry.
    return result == EINTR ? 0 : result;
}

FileSystem& systemFileSystem() {
    static FileSystem system;
    return system;
}

} // namespace pixtint
