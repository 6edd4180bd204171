// SPDX-License-Identifier: MIT
#pragma once

#include "filesafety/FileState.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <windows.h>

namespace pixtint {

// The Windows calls under the file-safety seam, each failure turned into the errno the rest of
// the program reads (ERROR_SHARING_VIOLATION is EBUSY, ERROR_ACCESS_DENIED EACCES, ...).

// A descriptor of the program is a HANDLE, which 64-bit Windows keeps within 32 bits.
inline HANDLE handleOf(int descriptor) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(descriptor));
}
inline int descriptorOf(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle));
}

int errnoOf(DWORD windowsError);
[[noreturn]] void throwWindowsError(DWORD windowsError, const std::filesystem::path& path);

// The path as the wide calls take it: absolute, with "\\?\" (or "\\?\UNC\") in front, so that
// no name is limited to 260 characters whatever the system's settings.
std::wstring longPath(const std::filesystem::path& path);

// The state of the open file `handle`. Throws Error naming `path`.
FileState stateOf(HANDLE handle, const std::filesystem::path& path);

// The state of the file at `path`; none when nothing can be opened there to be asked.
std::optional<FileState> stateAt(const std::filesystem::path& path);

// Opens `path` for `access` with `share`; answers INVALID_HANDLE_VALUE and leaves the error in
// GetLastError() on failure. Opens a folder too (for its identity).
HANDLE openFile(const std::filesystem::path& path, DWORD access, DWORD share,
                DWORD disposition = OPEN_EXISTING, DWORD flags = FILE_ATTRIBUTE_NORMAL);

// MoveFileExW with MOVEFILE_WRITE_THROUGH, and MOVEFILE_REPLACE_EXISTING when `replace`.
// A virus scanner, the search indexer or a backup tool opens a new file for a moment, and
// while it does Windows refuses to rename over it (a sharing violation, or access denied):
// the rename is tried again, with waits that double from 10 ms, for about 1.3 seconds in all,
// long enough for such a look at a small picture, short enough that a file an editor keeps
// open fails a build step at once rather than hanging it. Answers 0 or the errno.
int moveFile(const std::filesystem::path& from, const std::filesystem::path& to, bool replace);

// The path the open file or folder `handle` was reached by ("\\?\C:\..."); empty, with the error
// in GetLastError(), when Windows cannot tell.
std::filesystem::path openedPath(HANDLE handle);

// The path of the folder a FolderLock holds open as `folder` (see FolderLockWindows.cpp), or
// of any other open folder as Windows tells it; empty when neither can tell.
std::filesystem::path folderPathOf(int folder);

// The flags of Linux's renameat2(), which FileSystem::renameInFolder takes on Windows too.
inline constexpr unsigned RENAME_NOREPLACE = 1;
inline constexpr unsigned RENAME_EXCHANGE = 2;

// Whether `one` and `other` name the same file (volume and file number).
bool sameFile(const FileState& one, const FileState& other);

// Ordinal upper case, as NTFS compares names.
std::wstring upperCase(std::wstring text);

} // namespace pixtint
