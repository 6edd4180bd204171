// SPDX-License-Identifier: MIT
#include "engine/PixelRows.h"

#include <algorithm>

namespace pixtint {

namespace {

// origin + rows x stride, or the largest offset where that does not fit in 64 bits.
std::uint64_t rowsEnd(std::uint64_t origin, std::uint64_t rowCount, std::uint64_t stride) {
    if (stride != 0 && rowCount > (UINT64_MAX - origin) / stride) {
        return UINT64_MAX;
    }
    return origin + rowCount * stride;
}

ChannelShifts shiftsOf(const ChannelBytes& channels) {
    return {static_cast<std::uint8_t>(channels.red * 8),
            static_cast<std::uint8_t>(channels.green * 8),
            static_cast<std::uint8_t>(channels.blue * 8)};
}

} // namespace

PixelRows::PixelRows(std::int32_t width, std::uint64_t origin, std::uint64_t rowCount)
    : origin_(origin)
    , pixelSize_(3)
    , pixelBytesPerRow_(static_cast<std::uint64_t>(width) * 3)
    , stride_((pixelBytesPerRow_ + 3) / 4 * 4) {
    end_ = rowsEnd(origin_, rowCount, stride_);
}

PixelRows::PixelRows(const BmpLayout& layout)
    : origin_(layout.pixelOffset)
    , pixelSize_(layout.bitsPerPixel / 8)
    , pixelBytesPerRow_(static_cast<std::uint64_t>(layout.width) * pixelSize_)
    , stride_(layout.stride)
    , channels_(layout.channels)
    , shifts_(layout.shifts)
    , alphaMask_(layout.alphaMask) {
    end_ = rowsEnd(origin_, layout.rowCount, stride_);
}

std::uint64_t PixelRows::boundaryAtOrBefore(std::uint64_t offset) const {
    if (offset < origin_ || offset >= end_) {
        return offset;
    }
    const std::uint64_t intoRow = (offset - origin_) % stride_;
    if (intoRow >= pixelBytesPerRow_) {
        return offset; // in the padding
    }
    return offset - intoRow % pixelSize_;
}

std::uint64_t PixelRows::boundaryAtOrAfter(std::uint64_t offset) const {
    const std::uint64_t before = boundaryAtOrBefore(offset);
    return before == offset ? offset : before + pixelSize_;
}

void PixelRows::recolour(std::span<std::uint8_t> bytes, std::uint64_t begin,
                         const ColourMap& colours, WalkCounts& counts) const {
    const std::uint64_t end = std::min(begin + bytes.size(), end_);
    const std::uint64_t from = std::max(begin, origin_);
    if (from >= end) {
        return;
    }
    std::uint64_t rowStart = origin_ + (from - origin_) / stride_ * stride_;
    for (; rowStart < end; rowStart += stride_) {
        const std::uint64_t first = std::max(from, rowStart);
        const std::uint64_t last = std::min(end, rowStart + pixelBytesPerRow_);
        if (first < last) {
            const std::uint64_t whole = (last - first) / pixelSize_ * pixelSize_;
            const auto pixels = bytes.subspan(first - begin, whole);
            if (pixelSize_ == 4 && colours.makesTransparent()) {
                colours.recolourWithAlpha(pixels, shifts_.value_or(shiftsOf(channels_)), alphaMask_,
                                          counts);
            } else if (pixelSize_ == 3) {
                colours.recolour(pixels, counts);
            } else if (shifts_) {
                colours.recolour(pixels, *shifts_, counts);
            } else {
                colours.recolour(pixels, channels_, counts);
            }
        }
    }
}

std::uint64_t PixelRows::recolour(std::span<std::uint8_t> bytes, std::uint64_t begin,
                                  const ColourMap& colours) const {
    WalkCounts counts = colours.freshCounts();
    recolour(bytes, begin, colours, counts);
    return counts.pixelsChanged();
}

} // namespace pixtint
