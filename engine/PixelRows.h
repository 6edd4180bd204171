#pragma once

#include "engine/ColourMap.h"

#include <cstdint>
#include <span>

namespace pixtint {

// Where the colour walk finds pixels: from offset 54 on, rows of `width` three-byte pixels,
// each followed by the padding that brings the row to a multiple of 4 bytes. The height is
// not consulted, so rows go on to the end of the file. All offsets are 64-bit, so any
// positive width is fine.
class PixelRows {
public:
    explicit PixelRows(std::int32_t width); // width > 0

    // The nearest offset at or before `offset` that does not fall inside a pixel.
    std::uint64_t boundaryAtOrBefore(std::uint64_t offset) const;
    // The nearest offset at or after `offset` that does not fall inside a pixel.
    std::uint64_t boundaryAtOrAfter(std::uint64_t offset) const;

    // Recolours the whole pixels among `bytes`, which hold the file from offset `begin` on;
    // `begin` must not fall inside a pixel. A pixel cut off by the end of `bytes` is left.
    // Answers how many pixels took another colour.
    std::uint64_t recolor(std::span<std::uint8_t> bytes, std::uint64_t begin,
                          const ColourMap& colours) const;

private:
    std::uint64_t pixelBytesPerRow_;
    std::uint64_t stride_;
};

} // namespace pixtint
