// SPDX-License-Identifier: MIT
#pragma once

#include "filesafety/FileState.h"

#include <filesystem>

namespace pixtint {

// A file whose mode gives no one write permission: one a version control keeps read-only
// until it is checked out. Its owner means it to stay as it is, whoever runs the program
// (root included), so it is neither converted nor restored. On Windows: the read-only
// attribute.
inline bool isReadOnly(const FileState& status) {
#ifdef _WIN32
    constexpr std::uint32_t ReadOnlyAttribute = 0x1; // FILE_ATTRIBUTE_READONLY
    return (status.attributes & ReadOnlyAttribute) != 0;
#else
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
#endif
}
// The same for `name` in the open folder `folder`: false when it cannot be looked at.
bool isReadOnlyIn(int folder, const std::filesystem::path& name);

// Gives the file open as `to` what makes the file open as `from` its owner's: owner and group
// (where this process may set them; root always may), permission bits, and extended attributes,
// access control lists included. An attribute the new file got from its folder but the old one
// lacks is removed. Throws Error (AttributeNotKept, naming what and why) when one cannot be
// kept, so the new file never stands in for the old one with less.
void keepAttributes(int from, int to, const std::filesystem::path& path);
// The same, for a caller that has both files' status at hand: `fromStatus` as `from` was
// read (a later change to it is the caller's to notice), `toStatus` as this process left it.
void keepAttributes(const FileState& fromStatus, int from, const FileState& toStatus, int to,
                    const std::filesystem::path& path);

} // namespace pixtint
