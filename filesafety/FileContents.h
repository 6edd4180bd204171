// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

namespace pixtint {

// Whether the open files `one` and `other` hold the same bytes, from their first to their
// last. The paths name them in an Error when a read fails.
bool sameContents(int one, int other, const std::filesystem::path& onePath,
                  const std::filesystem::path& otherPath);

} // namespace pixtint
