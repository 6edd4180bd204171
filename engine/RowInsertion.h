// SPDX-License-Identifier: MIT
#pragma once

#include "engine/BmpLayout.h"
#include "engine/ColourMap.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pixtint {

// The shapes growth works on: 15 rows of buttons 16 pixels wide, a single 16 x 15 icon or a
// toolbar strip of them side by side (a width that is a multiple of 16). They become 16 rows
// high; any other width stays as it is.
bool isGrowableSize(std::int64_t width, std::uint64_t rows);
// The same for a picture, stored either way up.
bool growsTo16x16(const BmpLayout& layout);

// Where the new row goes in the file: after the last stored row when that is the side asked
// for (the top of a bottom-up picture), otherwise before the first.
std::uint64_t newRowOffset(const BmpLayout& layout, bool atTop);
// Where the stored row the new one is added beside starts.
std::uint64_t neighbourRowOffset(const BmpLayout& layout, bool atTop);

// A row of `fill` for a 24-bit or 32-bit picture, padded with zeros; a four-byte pixel takes
// the fourth byte of the pixel above or below it in `neighbour` (the row added beside), so a
// transparent edge stays transparent.
std::vector<std::uint8_t> colourRow(const BmpLayout& layout, Rgb fill,
                                    std::span<const std::uint8_t> neighbour);
// A row of palette index `index`, padded with zeros.
std::vector<std::uint8_t> indexRow(const BmpLayout& layout, unsigned index);

// Header fields of the grown picture in `head` (the file's first bytes, the header whole):
// the height, the file size, the pixel-data size (16 rows; for a compressed picture, the field
// grows by the `rowBytes` of the new row's codes, unless it was 0), and a V5 profile that
// follows the new row moves with it. The new row's `rowBytes` go at `rowOffset`.
void patchGrownHeader(std::span<std::uint8_t> head, const BmpLayout& layout,
                      std::uint64_t grownFileSize, std::uint64_t rowOffset, std::uint64_t rowBytes);
// Header fields of a picture whose colour table gets one more entry at its end: the count of
// colours, the pixel offset, and a V5 profile that follows the table.
void patchAddedEntry(std::span<std::uint8_t> head, const BmpLayout& layout);

// A little-endian field of `size` bytes at `offset`; `bytes` must hold it.
void writeField(std::span<std::uint8_t> bytes, std::uint64_t offset, std::uint32_t size,
                std::uint32_t value);
std::uint32_t readField(std::span<const std::uint8_t> bytes, std::uint64_t offset,
                        std::uint32_t size);

} // namespace pixtint
