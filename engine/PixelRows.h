// SPDX-License-Identifier: MIT
#pragma once

#include "engine/BmpLayout.h"
#include "engine/ColourMap.h"

#include <cstdint>
#include <optional>
#include <span>

namespace pixtint {

// Where the colour walk finds pixels in a file: from the pixel offset on, `rowCount` rows of
// `width` pixels, each followed by the padding that brings the row to a multiple of 4 bytes.
// Nothing before the first row or after the last is a pixel. All offsets are 64-bit, so any
// width is fine.
class PixelRows {
public:
    // Three-byte pixels of `width` from `origin` on, as many rows as the file holds.
    explicit PixelRows(std::int32_t width, std::uint64_t origin = 54,
                       std::uint64_t rowCount = UINT64_MAX);
    // The rows of a 24-bit or 32-bit picture.
    explicit PixelRows(const BmpLayout& layout);

    // The nearest offset at or before `offset` that does not fall inside a pixel.
    std::uint64_t boundaryAtOrBefore(std::uint64_t offset) const;
    // The nearest offset at or after `offset` that does not fall inside a pixel.
    std::uint64_t boundaryAtOrAfter(std::uint64_t offset) const;

    // Recolours the whole pixels among `bytes`, which hold the file from offset `begin` on;
    // `begin` must not fall inside a pixel. A pixel cut off by the end of `bytes` is left.
    // A colour turned transparent needs the picture's alpha mask: only 32-bit pictures that
    // have one are walked with such a pair.
    void recolour(std::span<std::uint8_t> bytes, std::uint64_t begin, const ColourMap& colours,
                  WalkCounts& counts) const;
    // The same, answering the pixels changed.
    std::uint64_t recolour(std::span<std::uint8_t> bytes, std::uint64_t begin,
                           const ColourMap& colours) const;

private:
    std::uint64_t origin_;
    std::uint64_t end_; // past the last row
    std::uint64_t pixelSize_;
    std::uint64_t pixelBytesPerRow_;
    std::uint64_t stride_;
    ChannelBytes channels_;
    std::optional<ChannelShifts> shifts_;
    std::uint32_t alphaMask_ = 0;
};

} // namespace pixtint
