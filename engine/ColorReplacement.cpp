#include "engine/ColorReplacement.h"

#include "engine/AppError.h"
#include "engine/BitmapRecolor.h"
#include "engine/FileBytes.h"
#include "engine/PixelRows.h"
#include "engine/PosixFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pixtint {

namespace {

// Large enough that the system calls cost nothing next to the copying, small enough to stay
// in the cache while a chunk is recoloured and written.
constexpr std::size_t LargestChunk = std::size_t{1} << 20;
// Room for the whole header and the first pixel byte, so that the first read alone shows
// whether the file has any pixel data.
constexpr std::size_t SmallestChunk = 64;
static_assert(SmallestChunk > PixelDataOffset);

// A small file gets a buffer of its own size plus one byte, so that one read reaches its end.
// Should it grow meanwhile, the stream just takes more chunks.
std::size_t chunkSizeFor(std::uint64_t fileSize, std::size_t largestChunk) {
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(
        fileSize + 1, SmallestChunk, std::max(largestChunk, SmallestChunk)));
}

// What the walk changes: the pixels where the rows put them, from one colour to the other.
struct Recoloring {
    PixelRows rows;
    Rgb before;
    Rgb after;
};

// Streams the file through one buffer: each chunk is recoloured and written, except for the
// one or two bytes of a pixel that the chunk cuts in two, which move on to the next chunk.
// At the end of the file such bytes are a partial pixel and are written as they are.
void streamRecolored(int input, const std::filesystem::path& source,
                     std::vector<std::uint8_t>& buffer, std::size_t filled,
                     const Recoloring& recoloring, AtomicFileWriter& writer) {
    std::uint64_t bufferOffset = 0;
    for (;;) {
        const bool atEnd = filled < buffer.size();
        const std::uint64_t end = bufferOffset + filled;
        const std::uint64_t readyEnd = atEnd ? end : recoloring.rows.boundaryAtOrBefore(end);
        const auto ready = std::span(buffer).first(readyEnd - bufferOffset);
        recoloring.rows.recolor(ready, bufferOffset, recoloring.before, recoloring.after);
        writer.write(ready);
        if (atEnd) {
            return;
        }
        const std::size_t carried = filled - ready.size();
        std::memmove(buffer.data(), buffer.data() + ready.size(), carried);
        bufferOffset = readyEnd;
        filled = carried + readFully(input, std::span(buffer).subspan(carried), source);
    }
}

} // namespace

void ReplaceColorInChunks(const std::filesystem::path& source, std::int32_t width, Rgb before,
                          Rgb after, std::size_t largestChunk) {
    if (width <= 0) {
        throw AppError(ErrorNumber::InvalidArgument);
    }
    const auto target = TemporaryPathFor(source);
    const Recoloring recoloring{PixelRows(width), before, after};
    const UniqueFd input = openRegularFileForReading(source);
    std::vector<std::uint8_t> buffer(chunkSizeFor(currentSize(input.get(), source), largestChunk));
    const std::size_t filled = readFully(input.get(), buffer, source);
    if (filled <= PixelDataOffset) {
        throw AppError(ErrorNumber::SubscriptOutOfRange); // not even the first pixel byte
    }
    // The writer replaces the target only on commit, so the source may be the target itself.
    AtomicFileWriter writer(target, Durability::Scratch);
    streamRecolored(input.get(), source, buffer, filled, recoloring, writer);
    writer.commit();
}

void ReplaceColor(const std::filesystem::path& source, std::int32_t width, Rgb before, Rgb after) {
    ReplaceColorInChunks(source, width, before, after, LargestChunk);
}

} // namespace pixtint
