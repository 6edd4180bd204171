#include "engine/PixelRows.h"

#include "engine/RecolorRun.h"

#include <algorithm>

namespace pixtint {

namespace {

constexpr std::uint64_t BytesPerPixel = 3;
constexpr std::uint64_t RowAlignment = 4;

} // namespace

PixelRows::PixelRows(std::int32_t width)
    : pixelBytesPerRow_(static_cast<std::uint64_t>(width) * BytesPerPixel)
    , stride_((pixelBytesPerRow_ + RowAlignment - 1) / RowAlignment * RowAlignment) {}

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

void PixelRows::recolor(std::span<std::uint8_t> bytes, std::uint64_t begin, Rgb before,
                        Rgb after) const {
    const std::uint64_t end = begin + bytes.size();
    const std::uint64_t from = std::max<std::uint64_t>(begin, PixelDataOffset);
    if (from >= end) {
        return;
    }
    std::uint64_t rowStart = PixelDataOffset + (from - PixelDataOffset) / stride_ * stride_;
    for (; rowStart < end; rowStart += stride_) {
        const std::uint64_t first = std::max(from, rowStart);
        const std::uint64_t last = std::min(end, rowStart + pixelBytesPerRow_);
        if (first < last) {
            const std::uint64_t whole = (last - first) / BytesPerPixel * BytesPerPixel;
            recolorRun(bytes.subspan(first - begin, whole), before, after);
        }
    }
}

} // namespace pixtint
