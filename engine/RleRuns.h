// SPDX-License-Identifier: MIT
#pragma once

#include "engine/BmpLayout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace pixtint {

class ByteStream;

// Where RLE4 or RLE8 data puts palette indices: one a pixel, from `column` on in stored
// row `row` (0 is the first row the file stores).
using RleDraw =
    std::function<void(std::uint64_t row, std::uint64_t column, std::span<const std::uint8_t>)>;

// Where compressed data ends: the file offset of its end-of-picture code, and the place in the
// picture the data had reached there (stored row `row`, pixel `column`).
struct RleEnd {
    std::uint64_t codeOffset = 0;
    std::uint64_t row = 0;
    std::uint64_t column = 0;
};

// Walks the compressed data of `layout` from `bytes` on, in the order it is stored, handing
// each run of indices it draws to `draw`. Pixels the data skips (a move, an early end of row
// or of the picture) are drawn by nothing. Answers where the data ends. Throws Error
// NotAPicture when the data runs past a row or the picture, or ends before its end-of-picture
// code; the errors of reading.
RleEnd walkRle(ByteStream& bytes, const BmpLayout& layout, const RleDraw& draw);

// One row of `width` pixels of palette index `index` in the compression of `layout` (RLE8 or
// RLE4), ended by an end-of-row code.
std::vector<std::uint8_t> encodedIndexRow(const BmpLayout& layout, unsigned index);

// The codes that move compressed data from where it ended to the start of stored row `row`:
// an end of row when a row was begun, then a move up to `row`. Nothing when the data is there
// already; nothing either when it has gone past `row` (empty rows after the last).
std::optional<std::vector<std::uint8_t>> codesToRow(const RleEnd& end, std::uint64_t row);

} // namespace pixtint
