// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionPlan.h"
#include "conversion/ConversionRequest.h"
#include "engine/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace pixtint {

// Reads and checks what the conversion needs. Throws Error: those of readBmpLayout;
// Unsupported for a picture that is not 24-bit unless the request takes every kind, or too
// large to become 32-bit with alpha; Truncated for a 16 x 15 picture to be grown, or a picture
// to become 32-bit with alpha, whose rows are not all in the file; NoPaletteRoom for a
// grown palette picture with no entry of the new row's colour, no room for one, and every
// entry drawn by some pixel; the errors of reading the source.
ConversionPlan planConversion(const ByteSource& source, const ConversionRequest& request);

// Streams the converted bytes of `source` to `sink`, in order, in chunks of at most
// `largestChunk` bytes (64 at least). Memory stays at one chunk whatever the file's size.
// Throws as planConversion, and the errors of reading the source.
ConversionResult convertFile(const ByteSource& source, const ConversionRequest& request,
                             const ByteSink& sink, std::size_t largestChunk = ConversionChunkSize);

} // namespace pixtint
