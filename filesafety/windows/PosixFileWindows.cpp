// SPDX-License-Identifier: MIT
// The calls of filesafety/PosixFile.h made with Windows' own.
#include "engine/Error.h"
#include "filesafety/PosixFile.h"
#include "filesafety/windows/WindowsFile.h"

#include <algorithm>
#include <cerrno>

namespace pixtint {

UniqueFd::~UniqueFd() {
    if (descriptor_ >= 0) {
        ::CloseHandle(handleOf(descriptor_));
    }
}

// Held open for reading without write or delete sharing: until the run lets go at its
// commit, no other program can write the picture, rename it or delete it. An editor's save
// in that time fails as "in use", and succeeds once the run has moved on.
UniqueFd openRegularFileForReading(const std::filesystem::path& path, FileState* opened,
                                   FinalLink link) {
    const DWORD attributes = ::GetFileAttributesW(longPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        throwWindowsError(::GetLastError(), path);
    }
    if (link == FinalLink::Refuse && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        throwErrno(ELOOP, path);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throwErrno(EISDIR, path);
    }
    UniqueFd file(descriptorOf(openFile(path, GENERIC_READ, FILE_SHARE_READ)));
    if (file.get() < 0) {
        throwWindowsError(::GetLastError(), path);
    }
    if (::GetFileType(handleOf(file.get())) != FILE_TYPE_DISK) {
        throwErrno(EINVAL, path);
    }
    const FileState state = stateOf(handleOf(file.get()), path);
    if ((state.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throwErrno(EISDIR, path);
    }
    if (opened) {
        *opened = state;
    }
    return file;
}

std::uint64_t currentSize(int descriptor, const std::filesystem::path& path) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handleOf(descriptor), &size)) {
        throwWindowsError(::GetLastError(), path);
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

namespace {

constexpr std::size_t LargestCall = std::size_t{1} << 30;

std::size_t readSome(int descriptor, std::uint8_t* into, std::size_t count, OVERLAPPED* at,
                     const std::filesystem::path& path) {
    DWORD done = 0;
    if (!::ReadFile(handleOf(descriptor), into, static_cast<DWORD>(std::min(count, LargestCall)),
                    &done, at)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF) {
            return 0;
        }
        throwWindowsError(error, path);
    }
    return done;
}

} // namespace

std::size_t readFully(int descriptor, std::span<std::uint8_t> buffer,
                      const std::filesystem::path& path) {
    std::size_t total = 0;
    while (total < buffer.size()) {
        const std::size_t count =
            readSome(descriptor, buffer.data() + total, buffer.size() - total, nullptr, path);
        if (count == 0) {
            break;
        }
        total += count;
    }
    return total;
}

std::size_t readFullyAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> buffer,
                        const std::filesystem::path& path) {
    std::size_t total = 0;
    while (total < buffer.size()) {
        OVERLAPPED at{};
        const std::uint64_t from = offset + total;
        at.Offset = static_cast<DWORD>(from);
        at.OffsetHigh = static_cast<DWORD>(from >> 32);
        const std::size_t count =
            readSome(descriptor, buffer.data() + total, buffer.size() - total, &at, path);
        if (count == 0) {
            break;
        }
        total += count;
    }
    return total;
}

void writeFully(int descriptor, std::span<const std::uint8_t> bytes,
                const std::filesystem::path& path) {
    while (!bytes.empty()) {
        DWORD done = 0;
        if (!::WriteFile(handleOf(descriptor), bytes.data(),
                         static_cast<DWORD>(std::min(bytes.size(), LargestCall)), &done, nullptr)) {
            throwWindowsError(::GetLastError(), path);
        }
        if (done == 0) {
            throwErrno(EIO, path);
        }
        bytes = bytes.subspan(done);
    }
}

int linkDescriptor(int descriptor, int /*folder*/, const wchar_t* name) {
    // A new name for an open file, through the name it is open by.
    const auto opened = openedPath(handleOf(descriptor));
    if (opened.empty()) {
        return errnoOf(::GetLastError());
    }
    if (!::CreateHardLinkW(longPath(std::filesystem::path(name)).c_str(), opened.c_str(),
                           nullptr)) {
        return errnoOf(::GetLastError());
    }
    return 0;
}

} // namespace pixtint
