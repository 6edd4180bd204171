// SPDX-License-Identifier: MIT
#pragma once

#include "engine/BmpLayout.h"

#include <cstdint>
#include <vector>

namespace pixtint {

class ByteSource;

// How many pixels of a palette picture each colour-table entry draws, counted over the rows
// the file holds; an index past the table draws nothing. Compressed data (RLE4, RLE8) is
// parsed just far enough to count and to know it is intact. Throws Error: NotAPicture when
// the compressed data runs past a row or the picture, or ends before its end-of-picture code;
// the errors of reading the source.
std::vector<std::uint64_t> countEntryUse(const ByteSource& source, const BmpLayout& layout);

} // namespace pixtint
