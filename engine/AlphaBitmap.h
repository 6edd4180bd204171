// SPDX-License-Identifier: MIT
#pragma once

#include "engine/BmpLayout.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pixtint {

// The picture a colour turned transparent makes of a picture without an alpha channel: the
// same width and height, stored the same way up, as 32-bit pixels (blue, green, red, alpha)
// behind a V5 header whose bit fields name each byte. Readers that honour a V5 header's alpha
// mask show its transparency.
namespace AlphaBitmap {
inline constexpr std::uint32_t InfoSize = 124;
inline constexpr std::uint64_t HeadSize = 14 + InfoSize; // where its pixels start
inline constexpr std::uint32_t AlphaMask = 0xFF000000;
inline constexpr ChannelShifts Shifts{16, 8, 0};
inline constexpr std::uint8_t Opaque = 0xFF;
} // namespace AlphaBitmap

// Bytes of one row of the 32-bit picture: four a pixel, never padded.
std::uint64_t alphaRowBytes(const BmpLayout& layout);

// The file header and V5 header of `layout`'s picture made 32-bit with `rowCount` rows.
// `head` holds the original's headers whole; its reserved words, resolution and colour space
// (one a V4 or V5 header describes without a profile) are kept. Throws Error Unsupported when
// the result would not fit the 32-bit sizes of a BMP file.
std::vector<std::uint8_t> alphaHead(const BmpLayout& layout, std::span<const std::uint8_t> head,
                                    std::uint64_t rowCount);

// Turns the rows of a picture without alpha into rows of the 32-bit picture, every pixel
// opaque. An index past the colour table is black, as an index with no colour.
class AlphaRows {
public:
    // `palette` holds the colour table's bytes (palette pictures only).
    AlphaRows(const BmpLayout& layout, std::span<const std::uint8_t> palette);

    // A stored row as an uncompressed file holds it; `row` takes alphaRowBytes.
    void expandRow(std::span<const std::uint8_t> stored, std::span<std::uint8_t> row) const;
    // Palette indices, one a pixel (compressed data, decoded); `row` takes alphaRowBytes.
    void expandIndices(std::span<const std::uint8_t> indices, std::span<std::uint8_t> row) const;

private:
    void expandIndexed(std::span<const std::uint8_t> stored, std::span<std::uint8_t> row) const;
    void expandMasked(std::span<const std::uint8_t> stored, std::span<std::uint8_t> row) const;

    BmpLayout layout_;
    std::array<std::array<std::uint8_t, 4>, 256> entries_{}; // blue, green, red, alpha
};

} // namespace pixtint
