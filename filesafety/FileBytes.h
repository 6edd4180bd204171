// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pixtint {

// The whole file as raw bytes. Throws Error: the file's own, or OutOfMemory for a file larger
// than memory.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

} // namespace pixtint
