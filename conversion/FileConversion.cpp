// SPDX-License-Identifier: MIT
#include "conversion/FileConversion.h"

#include "conversion/AlphaConversion.h"
#include "conversion/CachedStart.h"
#include "engine/ByteStream.h"
#include "engine/EntryUse.h"
#include "engine/Error.h"
#include "engine/PixelRows.h"
#include "engine/RleRuns.h"
#include "engine/RowInsertion.h"

#include <algorithm>
#include <cstring>

namespace pixtint {

namespace {

constexpr std::size_t SmallestChunk = 64;
constexpr std::uint64_t FileHeaderSize = 14;

// A small file gets a buffer of its own size plus one byte, so that one read reaches its end.
// Should it grow meanwhile, the stream just takes more chunks.
std::size_t chunkSizeFor(std::uint64_t fileSize, std::size_t largestChunk) {
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(
        fileSize + 1, SmallestChunk, std::max(largestChunk, SmallestChunk)));
}

Rgb entryColour(std::span<const std::uint8_t> head, std::uint64_t at) {
    return {head[at + 2], head[at + 1], head[at]};
}

// Each entry that draws a pixel and equals (within the tolerance) a FROM colour takes its TO
// colour; its pixels count as changed with it. An entry no pixel draws is left as it is: a
// picture whose pixels keep their colours keeps its bytes.
void recolourPalette(ConversionPlan& plan, const std::vector<std::uint64_t>& use) {
    const BmpLayout& layout = plan.layout;
    WalkCounts& counts = plan.result.counts;
    for (std::uint32_t entry = 0; entry < layout.entryCount; ++entry) {
        if (use[entry] == 0) {
            continue;
        }
        const std::uint64_t at = layout.paletteOffset + std::uint64_t{entry} * layout.entrySize;
        const Rgb colour = entryColour(plan.head, at);
        if (const auto match = plan.colours.matchOf(colour)) {
            const Rgb to = plan.colours.pairs()[*match].to;
            if (to != colour) {
                plan.head[at] = to.blue;
                plan.head[at + 1] = to.green;
                plan.head[at + 2] = to.red;
                ++counts.pairs[*match].entriesChanged;
                counts.pairs[*match].pixelsChanged += use[entry];
            }
        } else if (plan.colours.countsNearMisses()) {
            if (const auto near = plan.colours.nearMissOf(colour)) {
                counts.pairs[*near].nearMisses += use[entry];
            }
        }
    }
}

// The last entry that no pixel draws, if any.
std::optional<std::uint32_t> undrawnEntry(const std::vector<std::uint64_t>& use) {
    const auto found = std::find(use.rbegin(), use.rend(), 0);
    if (found == use.rend()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(use.rend() - found - 1);
}

void setEntryColour(ConversionPlan& plan, std::uint32_t entry, Rgb colour) {
    const std::uint64_t at =
        plan.layout.paletteOffset + std::uint64_t{entry} * plan.layout.entrySize;
    plan.head[at] = colour.blue;
    plan.head[at + 1] = colour.green;
    plan.head[at + 2] = colour.red;
}

// The entry the new row is drawn with: one that holds the colour already, or one more at the
// table's end, or, in a full table, one that no pixel draws, which takes the colour without
// changing anything seen.
unsigned fillEntry(ConversionPlan& plan, Rgb fill, const std::vector<std::uint64_t>& use,
                   bool& added) {
    const BmpLayout& layout = plan.layout;
    for (std::uint32_t entry = 0; entry < layout.entryCount; ++entry) {
        const std::uint64_t at = layout.paletteOffset + std::uint64_t{entry} * layout.entrySize;
        if (entryColour(plan.head, at) == fill) {
            return entry;
        }
    }
    if (layout.entryCount >= layout.entryCapacity) {
        const auto unused = undrawnEntry(use);
        if (!unused) {
            throw Error(ErrorKind::NoPaletteRoom);
        }
        setEntryColour(plan, *unused, fill);
        return *unused;
    }
    const std::uint8_t entry[4] = {fill.blue, fill.green, fill.red, 0};
    plan.head.insert(plan.head.end(), entry, entry + layout.entrySize);
    added = true;
    return layout.entryCount;
}

// `use`: the pixels each palette entry draws (palette pictures).
void planGrowth(ConversionPlan& plan, const ByteSource& source, bool atTop, Rgb fill,
                const std::vector<std::uint64_t>& use) {
    const BmpLayout& layout = plan.layout;
    if (source.size() < layout.rowsEnd()) {
        throw Error(ErrorKind::Truncated, source.path());
    }
    bool added = false;
    const ColourPair& first = plan.colours.pairs().front();
    if (first.transparent) {
        plan.newRow.assign(layout.stride, 0); // colour and alpha 0, whatever the masks
    } else if (layout.colours == ColourLayout::Palette) {
        plan.newRow = indexRow(layout, fillEntry(plan, fill, use, added));
    } else {
        const auto neighbour =
            readExactly(source, neighbourRowOffset(layout, atTop), layout.stride);
        plan.newRow = colourRow(layout, fill, neighbour);
    }
    plan.newRowAt = newRowOffset(layout, atTop);
    const std::uint64_t grownSize = source.size() + layout.stride + (added ? layout.entrySize : 0);
    patchGrownHeader(plan.head, layout, grownSize, *plan.newRowAt, layout.stride);
    if (added) {
        patchAddedEntry(plan.head, layout);
    }
    plan.result.grown = true;
}

// A compressed picture grows in its own compression: the new row's codes go before its first
// stored row (its bottom row: compressed pictures are stored bottom-up), or at the top, just
// before its end-of-picture code, after whatever brings the data to the row above the
// picture. Every other byte of its data is kept.
void planCompressedGrowth(ConversionPlan& plan, const ByteSource& source, bool atTop, Rgb fill,
                          const std::vector<std::uint64_t>& use) {
    const BmpLayout& layout = plan.layout;
    std::vector<std::uint8_t> codes;
    plan.newRowAt = layout.pixelOffset;
    if (atTop) {
        ByteStream bytes(source, layout.pixelOffset);
        const RleEnd end = walkRle(bytes, layout, [](auto, auto, auto) {});
        const auto toTop = codesToRow(end, layout.rowCount);
        if (!toTop) { // ends of rows past its top: no place for a row there
            throw Error(ErrorKind::Truncated, source.path(),
                        "its compressed rows end past its top");
        }
        codes = *toTop;
        plan.newRowAt = end.codeOffset;
    }
    bool added = false;
    const auto row = encodedIndexRow(layout, fillEntry(plan, fill, use, added));
    codes.insert(codes.end(), row.begin(), row.end());
    plan.newRow = std::move(codes);
    const std::uint64_t grownSize =
        source.size() + plan.newRow.size() + (added ? layout.entrySize : 0);
    patchGrownHeader(plan.head, layout, grownSize, *plan.newRowAt, plan.newRow.size());
    if (added) {
        patchAddedEntry(plan.head, layout);
    }
    plan.result.grown = true;
}

std::string bitsText(const BmpLayout& layout) {
    return std::to_string(layout.bitsPerPixel) + "-bit picture";
}

// Streams source bytes, recolouring the pixels among them, through one buffer: each chunk
// is handed on except for the one to three bytes of a pixel that it cuts in two, which move
// on to the next chunk.
class ConvertedStream {
public:
    ConvertedStream(const ByteSource& source, const ConversionPlan& plan, WalkCounts& counts,
                    const ByteSink& sink, std::size_t largestChunk)
        : source_(source)
        , colours_(plan.colours)
        , counts_(counts)
        , sink_(sink)
        , buffer_(chunkSizeFor(source.size(), largestChunk)) {
        if (plan.walksPixels()) {
            rows_.emplace(plan.layout);
        }
    }

    void emit(std::span<const std::uint8_t> bytes) {
        for (std::size_t done = 0; done < bytes.size(); done += buffer_.size()) {
            sink_(bytes.subspan(done, std::min(buffer_.size(), bytes.size() - done)));
        }
    }

    // From `from` to `to`, or to the file's end when that comes first; `to` must not fall
    // inside a pixel.
    void copy(std::uint64_t from, std::uint64_t to) {
        std::uint64_t offset = from;
        std::size_t filled = 0;
        while (offset < to) {
            const std::size_t wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), to - offset));
            filled += source_.readAt(offset + filled,
                                     std::span(buffer_).subspan(filled, wanted - filled));
            const std::uint64_t end = offset + filled;
            const bool last = filled < wanted || end == to;
            const std::uint64_t readyEnd = last || !rows_ ? end : rows_->boundaryAtOrBefore(end);
            const auto ready = std::span(buffer_).first(readyEnd - offset);
            if (rows_) {
                rows_->recolour(ready, offset, colours_, counts_);
            }
            sink_(ready);
            if (last) {
                return;
            }
            filled -= ready.size();
            std::memmove(buffer_.data(), buffer_.data() + ready.size(), filled);
            offset = readyEnd;
        }
    }

private:
    const ByteSource& source_;
    const ColourMap& colours_;
    WalkCounts& counts_;
    const ByteSink& sink_;
    std::vector<std::uint8_t> buffer_;
    std::optional<PixelRows> rows_;
};

ConversionPlan planFrom(const ByteSource& source, const ConversionRequest& request) {
    ConversionPlan plan(readBmpLayout(source),
                        ColourMap(request.pairs, request.tolerance, request.nearMisses));
    const BmpLayout& layout = plan.layout;
    if (!request.everyKind && layout.colours != ColourLayout::Bgr24) {
        throw Error(ErrorKind::Unsupported, source.path(), bitsText(layout),
                    Refusal(Refused::BitCount, layout.bitsPerPixel));
    }
    plan.result.format = {layout.bitsPerPixel, layout.headerName(), layout.compressionName,
                          layout.hasAlpha()};
    plan.result.counts = plan.colours.freshCounts();
    if (becomesAlphaPicture(plan)) {
        planAlphaPicture(plan, source, request);
        return plan;
    }
    const bool grow =
        request.growth != Growth::None && growsTo16x16(layout) && !request.pairs.empty();
    const bool palette = layout.colours == ColourLayout::Palette;
    plan.headEnd = palette ? layout.paletteEnd() : grow ? FileHeaderSize + layout.headerSize : 0;
    plan.head = readExactly(source, 0, plan.headEnd);
    std::vector<std::uint64_t> use;
    if (palette) {
        use = countEntryUse(source, layout);
        recolourPalette(plan, use);
    }
    if (grow && layout.compressed()) {
        planCompressedGrowth(plan, source, request.growth == Growth::Top, request.pairs.front().to,
                             use);
    } else if (grow) {
        planGrowth(plan, source, request.growth == Growth::Top, request.pairs.front().to, use);
    }
    return plan;
}

} // namespace

ConversionPlan planConversion(const ByteSource& file, const ConversionRequest& request) {
    return planFrom(CachedStart(file), request);
}

ConversionResult convertFile(const ByteSource& file, const ConversionRequest& request,
                             const ByteSink& sink, std::size_t largestChunk) {
    const CachedStart source(file);
    const ConversionPlan plan = planFrom(source, request);
    ConversionResult result = plan.result;
    if (plan.alpha) {
        streamAlphaPicture(source, plan, result.counts, sink, largestChunk);
        return result;
    }
    ConvertedStream stream(source, plan, result.counts, sink, largestChunk);
    stream.emit(plan.head);
    if (plan.newRowAt) {
        stream.copy(plan.headEnd, *plan.newRowAt);
        stream.emit(plan.newRow);
    }
    stream.copy(plan.newRowAt.value_or(plan.headEnd), UINT64_MAX);
    return result;
}

} // namespace pixtint
