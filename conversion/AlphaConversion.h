// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionPlan.h"
#include "conversion/ConversionRequest.h"

namespace pixtint {

// Whether a conversion of the picture `plan` describes makes a picture without alpha 32-bit
// with alpha: a pair turns its colour transparent, and the picture has no alpha of its own.
bool becomesAlphaPicture(const ConversionPlan& plan);

// Plans it: the new headers, the colour table the rows are drawn from, the new row of a
// picture that grows (16 x 15 ones, compressed ones too), filled with the first pair's colour
// or transparency. Throws Error: Truncated when the rows are not all in the file;
// Unsupported when the result is too large for a BMP file; the errors of reading the source.
void planAlphaPicture(ConversionPlan& plan, const ByteSource& source,
                      const ConversionRequest& request);

// Streams the picture `plan` planned: its head, then every row as 32-bit pixels, the colour
// walk done on them, in chunks of about `largestChunk` bytes (at least a row). Compressed data
// is decoded a row at a time; pixels it skips take the colour table's first entry. Throws
// Error NotAPicture for damaged compressed data; the errors of reading the source.
void streamAlphaPicture(const ByteSource& source, const ConversionPlan& plan, WalkCounts& counts,
                        const ByteSink& sink, std::size_t largestChunk);

} // namespace pixtint
