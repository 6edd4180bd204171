// SPDX-License-Identifier: MIT
#include "conversion/AlphaConversion.h"

#include "engine/AlphaBitmap.h"
#include "engine/ByteStream.h"
#include "engine/Error.h"
#include "engine/RleRuns.h"
#include "engine/RowInsertion.h"

#include <algorithm>

namespace pixtint {

namespace {

constexpr std::uint64_t FileHeaderSize = 14;

PictureFormat alphaFormat() {
    return {32, "V5", "bit fields", true};
}

// The grown row: the first pair's colour, opaque, or transparency (every byte 0).
std::vector<std::uint8_t> filledRow(const BmpLayout& layout, const ColourPair& first) {
    std::vector<std::uint8_t> row(alphaRowBytes(layout), 0);
    if (first.transparent) {
        return row;
    }
    for (std::size_t at = 0; at < row.size(); at += 4) {
        row[at] = first.to.blue;
        row[at + 1] = first.to.green;
        row[at + 2] = first.to.red;
        row[at + 3] = AlphaBitmap::Opaque;
    }
    return row;
}

// Collects rows into chunks: the colour walk runs over each chunk, then the sink takes it.
class AlphaStream {
public:
    AlphaStream(const ConversionPlan& plan, WalkCounts& counts, const ByteSink& sink,
                std::size_t largestChunk)
        : colours_(plan.colours)
        , counts_(counts)
        , sink_(sink)
        , rowBytes_(static_cast<std::size_t>(alphaRowBytes(plan.layout)))
        , rows_(plan.layout, plan.alpha->palette) {
        const std::uint64_t rows = std::min<std::uint64_t>(
            std::max<std::size_t>(largestChunk / rowBytes_, 1), plan.layout.rowCount);
        chunk_.reserve(static_cast<std::size_t>(rows) * rowBytes_);
    }

    // Bytes the walk leaves alone.
    void emit(std::span<const std::uint8_t> bytes) {
        flush();
        sink_(bytes);
    }

    void storedRow(std::span<const std::uint8_t> stored) { rows_.expandRow(stored, nextRow()); }

    void indexRow(std::span<const std::uint8_t> indices) {
        rows_.expandIndices(indices, nextRow());
    }

    void flush() {
        colours_.recolourWithAlpha(chunk_, AlphaBitmap::Shifts, AlphaBitmap::AlphaMask, counts_);
        if (!chunk_.empty()) {
            sink_(chunk_);
        }
        chunk_.clear();
    }

private:
    std::span<std::uint8_t> nextRow() {
        if (chunk_.size() + rowBytes_ > chunk_.capacity()) {
            flush();
        }
        chunk_.resize(chunk_.size() + rowBytes_);
        return std::span(chunk_).last(rowBytes_);
    }

    const ColourMap& colours_;
    WalkCounts& counts_;
    const ByteSink& sink_;
    std::size_t rowBytes_;
    AlphaRows rows_;
    std::vector<std::uint8_t> chunk_;
};

// Uncompressed rows, read many at a time.
void streamStoredRows(const ByteSource& source, const BmpLayout& layout, AlphaStream& out,
                      std::size_t largestChunk) {
    const std::uint64_t stride = layout.stride;
    const std::uint64_t rowsAtOnce = std::max<std::uint64_t>(largestChunk / stride, 1);
    std::vector<std::uint8_t> stored(
        static_cast<std::size_t>(std::min(rowsAtOnce, layout.rowCount) * stride));
    for (std::uint64_t row = 0; row < layout.rowCount;) {
        const std::uint64_t count = std::min(rowsAtOnce, layout.rowCount - row);
        const auto part = std::span(stored).first(static_cast<std::size_t>(count * stride));
        if (source.readAt(layout.pixelOffset + row * stride, part) < part.size()) {
            throw Error(ErrorKind::TooShort, source.path());
        }
        for (std::uint64_t i = 0; i < count; ++i) {
            out.storedRow(part.subspan(static_cast<std::size_t>(i * stride),
                                       static_cast<std::size_t>(stride)));
        }
        row += count;
    }
}

// Compressed data, decoded into one row of indices at a time: a row is done once the data
// moves past it.
void streamCompressedRows(const ByteSource& source, const BmpLayout& layout, AlphaStream& out) {
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(layout.width), 0);
    std::uint64_t current = 0;
    const auto finishRowsBefore = [&](std::uint64_t row) {
        for (; current < row; ++current) {
            out.indexRow(indices);
            std::fill(indices.begin(), indices.end(), 0);
        }
    };
    ByteStream bytes(source, layout.pixelOffset);
    walkRle(bytes, layout,
            [&](std::uint64_t row, std::uint64_t column, std::span<const std::uint8_t> run) {
                finishRowsBefore(row);
                std::copy(run.begin(), run.end(),
                          indices.begin() + static_cast<std::ptrdiff_t>(column));
            });
    finishRowsBefore(layout.rowCount);
}

} // namespace

bool becomesAlphaPicture(const ConversionPlan& plan) {
    return plan.colours.makesTransparent() && !plan.layout.hasAlpha();
}

void planAlphaPicture(ConversionPlan& plan, const ByteSource& source,
                      const ConversionRequest& request) {
    const BmpLayout& layout = plan.layout;
    AlphaPlan alpha;
    if (layout.colours == ColourLayout::Palette) {
        alpha.palette = readExactly(source, layout.paletteOffset,
                                    std::uint64_t{layout.entryCount} * layout.entrySize);
    }
    if (!layout.compressed() && source.size() < layout.rowsEnd()) {
        throw Error(ErrorKind::Truncated, source.path());
    }
    const bool grow = request.growth != Growth::None && growsTo16x16(layout);
    if (grow) {
        const bool atTop = request.growth == Growth::Top;
        alpha.newRowFirst = atTop == layout.topDown();
        plan.newRow = filledRow(layout, request.pairs.front());
        plan.result.grown = true;
    }
    const auto header = readExactly(source, 0, FileHeaderSize + layout.headerSize);
    plan.head = alphaHead(layout, header, layout.rowCount + (grow ? 1 : 0));
    plan.alpha = std::move(alpha);
    plan.result.newFormat = alphaFormat();
}

void streamAlphaPicture(const ByteSource& source, const ConversionPlan& plan, WalkCounts& counts,
                        const ByteSink& sink, std::size_t largestChunk) {
    AlphaStream out(plan, counts, sink, largestChunk);
    out.emit(plan.head);
    const bool grown = !plan.newRow.empty();
    if (grown && plan.alpha->newRowFirst) {
        out.emit(plan.newRow);
    }
    if (plan.layout.compressed()) {
        streamCompressedRows(source, plan.layout, out);
    } else {
        streamStoredRows(source, plan.layout, out, largestChunk);
    }
    if (grown && !plan.alpha->newRowFirst) {
        out.emit(plan.newRow);
    }
    out.flush();
}

} // namespace pixtint
