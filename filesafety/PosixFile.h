// SPDX-License-Identifier: MIT
#pragma once

#include "engine/Error.h"
#include "filesafety/FileState.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <utility>

namespace pixtint {

// The few POSIX file calls the engine is built on, each turning a failure into an Error. On
// Windows (filesafety/windows/) the same calls are made with Windows' own, and a descriptor is
// the file's HANDLE, which 64-bit Windows keeps within 32 bits.

// An open file descriptor, closed when it goes out of scope.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int descriptor)
        : descriptor_(descriptor) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept
        : descriptor_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            UniqueFd old(release());
            descriptor_ = other.release();
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return descriptor_; }
    int release() noexcept { return std::exchange(descriptor_, -1); }

private:
    int descriptor_ = -1;
};

// What opening a path does when its last part is a symbolic link.
enum class FinalLink {
    Follow,
    Refuse, // fails with ELOOP's error
};

// Opens a regular file for reading. A folder fails with EISDIR's error and any other kind of
// entry (pipe, device, socket) with EINVAL's, so nothing blocks or reads without end.
// `opened`, when given, receives the file's status as the check saw it.
UniqueFd openRegularFileForReading(const std::filesystem::path& path, FileState* opened = nullptr,
                                   FinalLink link = FinalLink::Follow);

// The file's current length in bytes.
std::uint64_t currentSize(int descriptor, const std::filesystem::path& path);

// Reads until `buffer` is full or the file ends; answers the count read.
std::size_t readFully(int descriptor, std::span<std::uint8_t> buffer,
                      const std::filesystem::path& path);

// The same from `offset` on, leaving the file position alone.
std::size_t readFullyAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> buffer,
                        const std::filesystem::path& path);

// Writes every byte, resuming after partial writes and interruptions.
void writeFully(int descriptor, std::span<const std::uint8_t> bytes,
                const std::filesystem::path& path);

// Gives the open file `descriptor` the name `name` in the open folder `folder` (another hard
// link, or the first name of an unnamed file); on Windows `name` is a whole path and `folder`
// is not used. Answers 0 or the errno of the failure.
int linkDescriptor(int descriptor, int folder, const std::filesystem::path::value_type* name);

// A read lease on the open file `descriptor`: whoever opens the file for writing (or
// truncates it) afterwards breaks it, and waits until the descriptor is closed (for the
// system's lease-break time at most). The break's signal is one that is ignored unless
// handled (SIGURG), so it ends nothing. Answers false where no lease can be had: the file is
// open for writing somewhere, it is another user's and this process may not lease it, or the
// file system has no leases.
bool takeReadLease(int descriptor);
// Whether the lease taken on `descriptor` is still whole: nobody opened the file for writing.
bool readLeaseHeld(int descriptor);

[[noreturn]] inline void throwErrno(int errnoValue, const std::filesystem::path& path) {
    throw Error::fromErrno(errnoValue, path);
}

} // namespace pixtint
