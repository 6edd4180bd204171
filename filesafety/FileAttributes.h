// SPDX-License-Identifier: MIT
#pragma once

#include "filesafety/FileState.h"

#include <filesystem>

namespace pixtint {

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
