// SPDX-License-Identifier: MIT
#include "filesafety/PosixFile.h"

#include "engine/Error.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

UniqueFd::~UniqueFd() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

UniqueFd openRegularFileForReading(const std::filesystem::path& path, struct stat* opened,
                                   FinalLink link) {
    // O_NONBLOCK keeps a named pipe without a writer from hanging the open; it has no effect
    // on the regular files that get past the check below.
    const int noFollow = link == FinalLink::Refuse ? O_NOFOLLOW : 0;
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | noFollow));
    if (file.get() < 0) {
        throwErrno(errno, path);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        throwErrno(errno, path);
    }
    if (S_ISDIR(status.st_mode)) {
        throwErrno(EISDIR, path);
    }
    if (!S_ISREG(status.st_mode)) {
        throwErrno(EINVAL, path);
    }
    if (opened) {
        *opened = status;
    }
    return file;
}

std::uint64_t currentSize(int descriptor, const std::filesystem::path& path) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        throwErrno(errno, path);
    }
    return static_cast<std::uint64_t>(status.st_size);
}

namespace {

// Calls `readSome(into, count, done)` until `buffer` is full or it reads nothing.
template <class ReadSome>
std::size_t readUntilFull(std::span<std::uint8_t> buffer, const std::filesystem::path& path,
                          ReadSome&& readSome) {
    std::size_t total = 0;
    while (total < buffer.size()) {
        const ssize_t count = readSome(buffer.data() + total, buffer.size() - total, total);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throwErrno(errno, path);
        }
        if (count == 0) {
            break;
        }
        total += static_cast<std::size_t>(count);
    }
    return total;
}

} // namespace

std::size_t readFully(int descriptor, std::span<std::uint8_t> buffer,
                      const std::filesystem::path& path) {
    return readUntilFull(buffer, path,
                         [descriptor](std::uint8_t* into, std::size_t count, std::size_t) {
                             return ::read(descriptor, into, count);
                         });
}

std::size_t readFullyAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> buffer,
                        const std::filesystem::path& path) {
    return readUntilFull(
        buffer, path,
        [descriptor, offset](std::uint8_t* into, std::size_t count, std::size_t done) {
            return ::pread(descriptor, into, count, static_cast<off_t>(offset + done));
        });
}

void writeFully(int descriptor, std::span<const std::uint8_t> bytes,
                const std::filesystem::path& path) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throwErrno(errno, path);
        }
        if (count == 0) {
            throwErrno(EIO, path); // a regular file that takes nothing would loop for ever
        }
        bytes = bytes.subspan(static_cast<std::size_t>(count));
    }
}

bool takeReadLease(int descriptor) {
    return ::fcntl(descriptor, F_SETSIG, SIGURG) == 0 &&
           ::fcntl(descriptor, F_SETLEASE, F_RDLCK) == 0;
}

bool readLeaseHeld(int descriptor) {
    // A lease being broken already reads as the type it is to become.
    return ::fcntl(descriptor, F_GETLEASE) == F_RDLCK;
}

int linkDescriptor(int descriptor, int folder, const char* name) {
    // The file is found through its descriptor and the new name through the folder's, so
    // that a folder renamed meanwhile still gets the name, and no other folder does.
    const std::string opened = "/proc/self/fd/" + std::to_string(descriptor);
    if (::linkat(AT_FDCWD, opened.c_str(), folder, name, AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) {
        return errno;
    }
    // Without /proc, the call that needs the right to open any file by its number.
    if (::linkat(descriptor, "", folder, name, AT_EMPTY_PATH) == 0) {
        return 0;
    }
    return errno;
}

} // namespace pixtint
