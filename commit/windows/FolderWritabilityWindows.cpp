// SPDX-License-Identifier: MIT
// commit/FolderWritability.h on Windows: a folder on a read-only volume (a write-protected
// card, a DVD) is told at once; a folder the user may not write in fails at its first copy,
// since Windows answers that question only by trying.
#include "commit/FolderWritability.h"
#include "filesafety/windows/WindowsFile.h"

#include <cerrno>

namespace pixtint {

std::optional<Error> folderWriteProblem(const std::filesystem::path& folder) {
    const std::filesystem::path& name = folder.empty() ? std::filesystem::path(".") : folder;
    const auto path = longPath(name);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Error::fromErrno(errnoOf(::GetLastError()), name);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return Error::fromErrno(ENOTDIR, name);
    }
    wchar_t volume[MAX_PATH + 1] = {};
    DWORD flags = 0;
    if (::GetVolumePathNameW(path.c_str(), volume, MAX_PATH) &&
        ::GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
        (flags & FILE_READ_ONLY_VOLUME) != 0) {
        return Error::fromErrno(EROFS, name);
    }
    return std::nullopt;
}

} // namespace pixtint
