#include "engine/FileSystem.h"

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

int FileSystem::renameInFolder(int folder, const char* from, const char* to, unsigned flags) {
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
    return errnoOf(::fdatasync(descriptor));
}

int FileSystem::syncFolder(int folder) {
    const int result = errnoOf(::fsync(folder));
    // Some file systems cannot flush a folder at all; their renames last as they can.
    return result == EINVAL || result == ENOTSUP ? 0 : result;
}

FileSystem& systemFileSystem() {
    static FileSystem system;
    return system;
}

} // namespace pixtint
