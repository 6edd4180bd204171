#include "conversion/FileConversion.h"

#include "engine/BmpHeader.h"
#include "engine/Error.h"
#include "engine/PictureSize.h"
#include "engine/PixelRows.h"
#include "engine/RowInsertion.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pixtint {

namespace {

// Room for the whole header and the first pixel byte, so that the first read alone shows
// whether the file has any pixel data.
constexpr std::size_t SmallestChunk = 64;
static_assert(SmallestChunk > BmpHeader::PixelDataOffset);
constexpr std::int32_t GrownWidth = 16;
constexpr std::size_t GrownRowBytes = GrownWidth * BmpHeader::BytesPerPixel;
constexpr std::size_t GrownRowEnd = BmpHeader::PixelDataOffset + GrownRowBytes;

// A small file gets a buffer of its own size plus one byte, so that one read reaches its end.
// Should it grow meanwhile, the stream just takes more chunks.
std::size_t chunkSizeFor(std::uint64_t fileSize, std::size_t largestChunk) {
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(
        fileSize + 1, SmallestChunk, std::max(largestChunk, SmallestChunk)));
}

Rgb growthFill(const ConversionRequest& request) {
    if (request.pairs.empty()) {
        throw Error(ErrorKind::NoPaletteRoom);
    }
    return request.pairs.front().to;
}

ConversionResult convertGrown(const ByteSource& source, const ConversionRequest& request,
                              const ByteSink& sink) {
    std::vector<std::uint8_t> bytes(GrownPictureSize);
    bytes.resize(source.readAt(0, bytes));
    const bool atTop = request.growth == Growth::Top;
    bytes = grownTo16x16(std::move(bytes), atTop, growthFill(request));
    // The new row is the new colour and stays so: only the picture's own rows are walked.
    const std::size_t from = atTop ? BmpHeader::PixelDataOffset : GrownRowEnd;
    const std::size_t to = atTop ? GrownPictureSize - GrownRowBytes : GrownPictureSize;
    ConversionResult result{.grown = true};
    result.pixelsChanged =
        PixelRows(GrownWidth)
            .recolor(std::span(bytes).subspan(from, to - from), from, ColourMap(request.pairs));
    sink(bytes);
    return result;
}

// Streams the file through one buffer: each chunk is recoloured and handed on, except for the
// one or two bytes of a pixel that the chunk cuts in two, which move on to the next chunk. At
// the end of the file such bytes are a partial pixel and are handed on as they are.
ConversionResult convertStreamed(const ByteSource& source, const ConversionRequest& request,
                                 std::int32_t width, const ByteSink& sink,
                                 std::size_t largestChunk) {
    const PixelRows rows(width);
    const ColourMap colours(request.pairs);
    std::vector<std::uint8_t> buffer(chunkSizeFor(source.size(), largestChunk));
    std::size_t filled = source.readAt(0, buffer);
    if (filled <= BmpHeader::PixelDataOffset) {
        throw Error(ErrorKind::NoPixels, source.path()); // not even the first pixel byte
    }
    ConversionResult result;
    std::uint64_t bufferOffset = 0;
    for (;;) {
        const bool atEnd = filled < buffer.size();
        const std::uint64_t end = bufferOffset + filled;
        const std::uint64_t readyEnd = atEnd ? end : rows.boundaryAtOrBefore(end);
        const auto ready = std::span(buffer).first(readyEnd - bufferOffset);
        result.pixelsChanged += rows.recolor(ready, bufferOffset, colours);
        sink(ready);
        if (atEnd) {
            return result;
        }
        const std::size_t carried = filled - ready.size();
        std::memmove(buffer.data(), buffer.data() + ready.size(), carried);
        bufferOffset = readyEnd;
        filled = carried + source.readAt(end, std::span(buffer).subspan(carried));
    }
}

} // namespace

ConversionPlan planConversion(const ByteSource& source, const ConversionRequest& request) {
    const auto [width, height] = readPictureSize(source);
    if (width <= 0) {
        throw Error(ErrorKind::InvalidWidth, source.path());
    }
    const bool grow = request.growth != Growth::None && width == 16 && height == 15;
    if (!grow && source.size() <= BmpHeader::PixelDataOffset) {
        throw Error(ErrorKind::NoPixels, source.path());
    }
    return {width, grow};
}

ConversionResult convertFile(const ByteSource& source, const ConversionRequest& request,
                             const ByteSink& sink, std::size_t largestChunk) {
    const ConversionPlan plan = planConversion(source, request);
    if (plan.grow) {
        return convertGrown(source, request, sink);
    }
    return convertStreamed(source, request, plan.width, sink, largestChunk);
}

} // namespace pixtint
