#pragma once

#include "engine/BitmapRecolor.h"

#include <cstddef>

namespace pixtint {

// ReplaceColor reading its source at most `largestChunk` bytes at a time (64 at least).
// ReplaceColor itself uses 1 MiB; the fuzz target uses small chunks so that small files
// reach the chunk edges too.
void ReplaceColorInChunks(const std::filesystem::path& source, std::int32_t width, Rgb before,
                          Rgb after, std::size_t largestChunk);

} // namespace pixtint
