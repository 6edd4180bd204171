#pragma once

#include "conversion/ConversionRequest.h"
#include "conversion/ConversionResult.h"
#include "engine/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace pixtint {

// How one file is converted: its width from the header, and whether it is grown.
struct ConversionPlan {
    std::int32_t width = 0;
    bool grow = false;
};

// Reads what the conversion needs from the header. Throws Error: TooShort for a file too short
// to hold the width and height, InvalidWidth for a width of 0 or less, NoPixels for a file of
// 54 bytes or less that is not grown (there is no pixel to walk).
ConversionPlan planConversion(const ByteSource& source, const ConversionRequest& request);

using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// Large enough that system calls cost nothing next to the copying, small enough to stay in
// the cache while a chunk is recoloured and written.
inline constexpr std::size_t ConversionChunkSize = std::size_t{1} << 20;

// Streams the converted bytes of `source` to `sink`, in order, in chunks of at most
// `largestChunk` bytes (64 at least; a grown picture, 822 bytes, comes in one piece): the
// optional growth of a 16 x 15 picture, then the colour walk. Memory stays at one chunk whatever
// the file's size. Throws as planConversion, and the errors of reading the source.
ConversionResult convertFile(const ByteSource& source, const ConversionRequest& request,
                             const ByteSink& sink, std::size_t largestChunk = ConversionChunkSize);

} // namespace pixtint
