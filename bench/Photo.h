// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/BmpBytes.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace pixtint {

// The photograph the benchmarks convert: 8000 x 6000 pixels, 144 MB, a tenth of its pixels
// the FROM colour, scattered among colours that are never it. A fixed seed makes every run
// convert the same bytes.
inline constexpr int PhotoWidth = 8000;
inline constexpr int PhotoHeight = 6000;

// Writes a BMP of `shape` (its pixels left empty) a row at a time, so that a photograph costs one
// row of memory: `fillRow` gets each stored row's pixel bytes, without the padding, in the order
// the file holds them.
void writeBmpRows(const std::filesystem::path& path, const BmpRecipe& shape,
                  const std::function<void(std::span<std::uint8_t> row)>& fillRow);

// Writes the photograph a row at a time; answers how many of its pixels are `before`.
std::uint64_t writePhoto(const std::filesystem::path& path, Pixel before);

// The photograph's size in 8 bits a pixel (48 MB): 256 colours, `before` the first of them,
// a tenth of the pixels drawn with it.
void writePalettePhoto(const std::filesystem::path& path, Pixel before);

} // namespace pixtint
