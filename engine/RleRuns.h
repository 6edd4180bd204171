// SPDX-License-Identifier: MIT
#pragma once

#include "engine/BmpLayout.h"

#include <cstdint>
#include <functional>
#include <span>

namespace pixtint {

class ByteStream;

// Where RLE4 or RLE8 data puts palette indices: one a pixel, from `column` on in stored
// row `row` (0 is the first row the file stores).
using RleDraw =
    std::function<void(std::uint64_t row, std::uint64_t column, std::span<const std::uint8_t>)>;

// Walks the compressed data of `layout` from `bytes` on, in the order it is stored, handing
// each run of indices it draws to `draw`. Pixels the data skips (a move, an early end of row
// or of the picture) are drawn by nothing. Throws Error NotAPicture when the data runs past a
// row or the picture, or ends before its end-of-picture code; the errors of reading.
void walkRle(ByteStream& bytes, const BmpLayout& layout, const RleDraw& draw);

} // namespace pixtint
