// SPDX-License-Identifier: MIT
#include "filesafety/windows/WindowsFile.h"

#include "engine/Error.h"
#include "filesafety/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace pixtint {

int errnoOf(DWORD windowsError) {
    switch (windowsError) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
        return EINVAL;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
        return ENOTSUP;
    case ERROR_INVALID_HANDLE:
        return EBADF;
    case ERROR_TOO_MANY_LINKS:
        return EMLINK;
    default:
        return EIO;
    }
}

void throwWindowsError(DWORD windowsError, const std::filesystem::path& path) {
    throw Error::fromErrno(errnoOf(windowsError), path);
}

std::wstring longPath(const std::filesystem::path& path) {
    std::wstring text = path.native();
    std::replace(text.begin(), text.end(), L'/', L'\\');
    if (text.starts_with(LR"(\\?\)") || text.starts_with(LR"(\\.\)")) {
        return text; // taken as it is: no "." or ".." is read in such a path
    }
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    if (!error) {
        text = absolute.lexically_normal().native();
        std::replace(text.begin(), text.end(), L'/', L'\\');
    }
    if (text.starts_with(LR"(\\)")) {
        return LR"(\\?\UNC\)" + text.substr(2);
    }
    return LR"(\\?\)" + text;
}

namespace {

timespec timeOf(std::int64_t ticks) {
    // 100-nanosecond ticks since 1601, as the file system keeps them; only compared.
    return {static_cast<std::time_t>(ticks / 10'000'000),
            static_cast<long>(ticks % 10'000'000) * 100};
}

std::int64_t ticksOf(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

} // namespace

FileState stateOf(HANDLE handle, const std::filesystem::path& path) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handle, &information)) {
        throwWindowsError(::GetLastError(), path);
    }
    FileState state;
    state.st_dev = information.dwVolumeSerialNumber;
    state.st_ino = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    state.st_size = static_cast<std::int64_t>((std::uint64_t{information.nFileSizeHigh} << 32) |
                                              information.nFileSizeLow);
    state.st_nlink = information.nNumberOfLinks;
    state.attributes = information.dwFileAttributes;
    state.st_mtim = timeOf(ticksOf(information.ftLastWriteTime));
    FILE_BASIC_INFO basic{};
    state.st_ctim = ::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)
                        ? timeOf(basic.ChangeTime.QuadPart)
                        : state.st_mtim;
    return state;
}

std::optional<FileState> stateAt(const std::filesystem::path& path) {
    const UniqueFd file(descriptorOf(openFile(
        path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)));
    if (file.get() < 0) {
        return std::nullopt;
    }
    try {
        return stateOf(handleOf(file.get()), path);
    } catch (const Error&) {
        return std::nullopt;
    }
}

HANDLE openFile(const std::filesystem::path& path, DWORD access, DWORD share, DWORD disposition,
                DWORD flags) {
    return ::CreateFileW(longPath(path).c_str(), access, share, nullptr, disposition,
                         flags | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

int moveFile(const std::filesystem::path& from, const std::filesystem::path& to, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    const auto source = longPath(from);
    const auto target = longPath(to);
    auto wait = std::chrono::milliseconds(10);
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(source.c_str(), target.c_str(), flags)) {
            return 0;
        }
        const DWORD error = ::GetLastError();
        const bool momentary = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                               error == ERROR_LOCK_VIOLATION;
        if (!momentary || attempt == 7) {
            return errnoOf(error);
        }
        std::this_thread::sleep_for(wait);
        wait *= 2;
    }
}

std::filesystem::path openedPath(HANDLE handle) {
    std::wstring opened(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, opened.data(),
                                                         static_cast<DWORD>(opened.size()), 0);
        if (length == 0) {
            return {};
        }
        if (length < opened.size()) {
            opened.resize(length);
            return opened;
        }
        opened.resize(length + 1);
    }
}

bool sameFile(const FileState& one, const FileState& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

std::wstring upperCase(std::wstring text) {
    if (!text.empty()) {
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

} // namespace pixtint
