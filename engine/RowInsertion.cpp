// SPDX-License-Identifier: MIT
#include "engine/RowInsertion.h"

#include <stdexcept>

namespace pixtint {

namespace {

constexpr std::int32_t ButtonWidth = 16;
constexpr std::int32_t GrownRows = 16;
constexpr std::uint64_t OwnRows = 15;
constexpr std::uint64_t FileSizeOffset = 2;
constexpr std::uint64_t PixelOffsetOffset = 10;
constexpr std::uint64_t InfoHeaderStart = 14;

void checkRoom(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::uint32_t size) {
    if (offset + size > bytes.size()) {
        throw std::out_of_range("header field past the bytes given");
    }
}

// A V5 profile's offset counts from the information header; one that starts at or after
// `insertedAt` moves by `count` bytes.
void moveProfile(std::span<std::uint8_t> head, const BmpLayout& layout, std::uint64_t insertedAt,
                 std::uint32_t count) {
    const LayoutFields fields = layoutFields(layout);
    if (fields.profileOffsetOffset == 0) {
        return;
    }
    const std::uint32_t profile = readField(head, fields.profileOffsetOffset, 4);
    if (profile != 0 && InfoHeaderStart + profile >= insertedAt) {
        writeField(head, fields.profileOffsetOffset, 4, profile + count);
    }
}

} // namespace

void writeField(std::span<std::uint8_t> bytes, std::uint64_t offset, std::uint32_t size,
                std::uint32_t value) {
    checkRoom(bytes, offset, size);
    for (std::uint32_t i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t readField(std::span<const std::uint8_t> bytes, std::uint64_t offset,
                        std::uint32_t size) {
    checkRoom(bytes, offset, size);
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < size; ++i) {
        value |= std::uint32_t{bytes[offset + i]} << (8 * i);
    }
    return value;
}

bool isGrowableSize(std::int64_t width, std::uint64_t rows) {
    return width > 0 && width % ButtonWidth == 0 && rows == OwnRows;
}

bool growsTo16x16(const BmpLayout& layout) {
    return isGrowableSize(layout.width, layout.rowCount);
}

std::uint64_t newRowOffset(const BmpLayout& layout, bool atTop) {
    // A bottom-up picture stores its top row last; a top-down one first.
    const bool afterLast = atTop != layout.topDown();
    return afterLast ? layout.rowsEnd() : layout.pixelOffset;
}

std::uint64_t neighbourRowOffset(const BmpLayout& layout, bool atTop) {
    const bool afterLast = atTop != layout.topDown();
    return afterLast ? layout.rowsEnd() - layout.stride : layout.pixelOffset;
}

namespace {

// Four-byte pixels with channels at any bit: the bits outside them come from the neighbour.
std::vector<std::uint8_t> shiftedColourRow(const BmpLayout& layout, const ChannelShifts& shifts,
                                           Rgb fill, std::span<const std::uint8_t> neighbour) {
    std::vector<std::uint8_t> row(layout.stride, 0);
    const std::uint32_t colour = std::uint32_t{fill.red} << shifts.red |
                                 std::uint32_t{fill.green} << shifts.green |
                                 std::uint32_t{fill.blue} << shifts.blue;
    for (std::size_t x = 0; x < static_cast<std::size_t>(layout.width); ++x) {
        const std::uint32_t kept =
            (x + 1) * 4 <= neighbour.size() ? readField(neighbour, x * 4, 4) : 0;
        writeField(row, x * 4, 4, (kept & ~shifts.colourBits()) | colour);
    }
    return row;
}

} // namespace

std::vector<std::uint8_t> colourRow(const BmpLayout& layout, Rgb fill,
                                    std::span<const std::uint8_t> neighbour) {
    if (layout.shifts) {
        return shiftedColourRow(layout, *layout.shifts, fill, neighbour);
    }
    std::vector<std::uint8_t> row(layout.stride, 0);
    const std::size_t pixelSize = layout.bitsPerPixel / 8;
    const ChannelBytes channels = layout.channels;
    for (std::size_t x = 0; x < static_cast<std::size_t>(layout.width); ++x) {
        std::uint8_t* pixel = row.data() + x * pixelSize;
        pixel[channels.red] = fill.red;
        pixel[channels.green] = fill.green;
        pixel[channels.blue] = fill.blue;
        if (pixelSize == 4 && (x + 1) * pixelSize <= neighbour.size()) {
            pixel[channels.fourth] = neighbour[x * pixelSize + channels.fourth];
        }
    }
    return row;
}

std::vector<std::uint8_t> indexRow(const BmpLayout& layout, unsigned index) {
    std::vector<std::uint8_t> row(layout.stride, 0);
    const unsigned bits = layout.bitsPerPixel;
    for (std::size_t x = 0; x < static_cast<std::size_t>(layout.width); ++x) {
        const std::size_t bit = x * bits;
        row[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
    }
    return row;
}

void patchGrownHeader(std::span<std::uint8_t> head, const BmpLayout& layout,
                      std::uint64_t grownFileSize, std::uint64_t rowOffset,
                      std::uint64_t rowBytes) {
    const LayoutFields fields = layoutFields(layout);
    const std::int32_t height = layout.topDown() ? -GrownRows : GrownRows;
    writeField(head, fields.heightOffset, fields.heightBytes, static_cast<std::uint32_t>(height));
    writeField(head, FileSizeOffset, 4, static_cast<std::uint32_t>(grownFileSize));
    if (fields.pixelDataSizeOffset != 0) {
        const std::uint32_t stored = readField(head, fields.pixelDataSizeOffset, 4);
        const std::uint64_t grown = !layout.compressed() ? layout.stride * GrownRows
                                    : stored == 0        ? 0
                                                         : stored + rowBytes;
        writeField(head, fields.pixelDataSizeOffset, 4, static_cast<std::uint32_t>(grown));
    }
    moveProfile(head, layout, rowOffset, static_cast<std::uint32_t>(rowBytes));
}

void patchAddedEntry(std::span<std::uint8_t> head, const BmpLayout& layout) {
    const LayoutFields fields = layoutFields(layout);
    writeField(head, fields.coloursUsedOffset, 4, layout.entryCount + 1);
    writeField(head, PixelOffsetOffset, 4,
               static_cast<std::uint32_t>(layout.pixelOffset + layout.entrySize));
    moveProfile(head, layout, layout.paletteEnd(), layout.entrySize);
}

} // namespace pixtint
