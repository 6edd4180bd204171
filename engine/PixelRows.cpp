#include "engine/PixelRows.h"

#include "engine/BmpHeader.h"

#include <algorithm>

namespace pixtint {

using BmpHeader::BytesPerPixel;
using BmpHeader::PixelDataOffset;

PixelRows::PixelRows(std::int32_t width)
    : pixelBytesPerRow_(static_cast<std::uint64_t>(width) * BytesPerPixel)
    , stride_(BmpHeader::rowStride(static_cast<std::uint64_t>(width))) {}

std::uint64_t PixelRows::boundaryAtOrBefore(std::uint64_t offset) const {
    if (offset < PixelDataOffset) {
        return offset;
    }
    const std::uint64_t intoRow = (offset - PixelDataOffset) % stride_;
    if (intoRow >= pixelBytesPerRow_) {
        return offset; // in the padding
    }
    return offset - intoRow % BytesPerPixel;
}

std::uint64_t PixelRows::boundaryAtOrAfter(std::uint64_t offset) const {
    const std::uint64_t before = boundaryAtOrBefore(offset);
    return before == offset ? offset : before + BytesPerPixel;
}

std::uint64_t PixelRows::recolor(std::span<std::uint8_t> bytes, std::uint64_t begin,
                                 const ColourMap& colours) const {
    const std::uint64_t end = begin + bytes.size();
    const std::uint64_t from = std::max<std::uint64_t>(begin, PixelDataOffset);
    std::uint64_t changed = 0;
    if (from >= end) {
        return changed;
    }
    std::uint64_t rowStart = PixelDataOffset + (from - PixelDataOffset) / stride_ * stride_;
    for (; rowStart < end; rowStart += stride_) {
        const std::uint64_t first = std::max(from, rowStart);
        const std::uint64_t last = std::min(end, rowStart + pixelBytesPerRow_);
        if (first < last) {
            const std::uint64_t whole = (last - first) / BytesPerPixel * BytesPerPixel;
            changed += colours.recolor(bytes.subspan(first - begin, whole));
        }
    }
    return changed;
}

} // namespace pixtint
