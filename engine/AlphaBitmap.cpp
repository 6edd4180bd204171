// SPDX-License-Identifier: MIT
#include "engine/AlphaBitmap.h"

#include "engine/BmpHeader.h"
#include "engine/Error.h"

#include <algorithm>
#include <cstring>

namespace pixtint {

namespace {

constexpr std::uint64_t FileHeaderSize = 14;
constexpr std::uint32_t BitFields = 3;
constexpr std::uint32_t SrgbSpace = 0x73524742;       // "sRGB"
constexpr std::uint32_t LinkedProfile = 0x4C494E4B;   // "LINK"
constexpr std::uint32_t EmbeddedProfile = 0x4D424544; // "MBED"
constexpr std::uint32_t PicturesIntent = 4;

// Offsets inside the information header.
constexpr std::uint64_t ResolutionAt = 24;  // horizontal, then vertical, 4 bytes each
constexpr std::uint64_t MasksAt = 40;       // red, green, blue, alpha
constexpr std::uint64_t ColourSpaceAt = 56; // its type, the end points and the gamma values
constexpr std::uint64_t ColourSpaceEnd = 108;
constexpr std::uint64_t IntentAt = 108;

void put32(std::vector<std::uint8_t>& head, std::uint64_t offset, std::uint32_t value) {
    BmpHeader::writeInt32(head.data(), static_cast<std::size_t>(offset), value);
}

std::uint32_t infoField(const BmpLayout& layout, std::span<const std::uint8_t> head,
                        std::uint64_t at) {
    if (layout.kind == HeaderKind::Core || at + 4 > layout.headerSize ||
        FileHeaderSize + at + 4 > head.size()) {
        return 0;
    }
    return BmpHeader::readUnsigned(head.data(), static_cast<std::size_t>(FileHeaderSize + at), 4);
}

// A V4 or V5 original's colour space, unless it lies in a profile the new file cannot take
// along; otherwise sRGB.
void putColourSpace(std::vector<std::uint8_t>& out, const BmpLayout& layout,
                    std::span<const std::uint8_t> head) {
    const std::uint32_t space = infoField(layout, head, ColourSpaceAt);
    const bool keep = layout.headerSize >= ColourSpaceEnd && space != LinkedProfile &&
                      space != EmbeddedProfile && head.size() >= FileHeaderSize + ColourSpaceEnd;
    if (keep) {
        std::copy(head.begin() + FileHeaderSize + ColourSpaceAt,
                  head.begin() + FileHeaderSize + ColourSpaceEnd,
                  out.begin() + FileHeaderSize + ColourSpaceAt);
    } else {
        put32(out, FileHeaderSize + ColourSpaceAt, SrgbSpace);
    }
    const std::uint32_t intent = infoField(layout, head, IntentAt);
    put32(out, FileHeaderSize + IntentAt, keep && intent != 0 ? intent : PicturesIntent);
}

} // namespace

std::uint64_t alphaRowBytes(const BmpLayout& layout) {
    return static_cast<std::uint64_t>(layout.width) * 4;
}

std::vector<std::uint8_t> alphaHead(const BmpLayout& layout, std::span<const std::uint8_t> head,
                                    std::uint64_t rowCount) {
    const std::uint64_t pixelBytes = alphaRowBytes(layout) * rowCount;
    if (rowCount > UINT32_MAX || pixelBytes > UINT32_MAX - AlphaBitmap::HeadSize) {
        throw Error(ErrorKind::Unsupported, {}, "too large for a 32-bit picture with alpha");
    }
    std::vector<std::uint8_t> out(AlphaBitmap::HeadSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(AlphaBitmap::HeadSize + pixelBytes));
    std::copy_n(head.begin() + 6, std::min<std::size_t>(4, head.size() - 6), out.begin() + 6);
    put32(out, 10, static_cast<std::uint32_t>(AlphaBitmap::HeadSize));
    const std::uint64_t info = FileHeaderSize;
    put32(out, info, AlphaBitmap::InfoSize);
    put32(out, info + 4, static_cast<std::uint32_t>(layout.width));
    const auto rows = static_cast<std::int64_t>(rowCount);
    put32(out, info + 8, static_cast<std::uint32_t>(layout.topDown() ? -rows : rows));
    out[info + 12] = 1; // planes
    out[info + 14] = 32;
    put32(out, info + 16, BitFields);
    put32(out, info + 20, static_cast<std::uint32_t>(pixelBytes));
    put32(out, info + ResolutionAt, infoField(layout, head, ResolutionAt));
    put32(out, info + ResolutionAt + 4, infoField(layout, head, ResolutionAt + 4));
    const ChannelShifts shifts = AlphaBitmap::Shifts;
    put32(out, info + MasksAt, std::uint32_t{0xFF} << shifts.red);
    put32(out, info + MasksAt + 4, std::uint32_t{0xFF} << shifts.green);
    put32(out, info + MasksAt + 8, std::uint32_t{0xFF} << shifts.blue);
    put32(out, info + MasksAt + 12, AlphaBitmap::AlphaMask);
    putColourSpace(out, layout, head);
    return out;
}

AlphaRows::AlphaRows(const BmpLayout& layout, std::span<const std::uint8_t> palette)
    : layout_(layout) {
    for (auto& entry : entries_) {
        entry = {0, 0, 0, AlphaBitmap::Opaque};
    }
    const std::size_t count =
        std::min<std::size_t>({layout.entryCount, entries_.size(),
                               layout.entrySize == 0 ? 0 : palette.size() / layout.entrySize});
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = palette.data() + i * layout.entrySize;
        entries_[i] = {entry[0], entry[1], entry[2], AlphaBitmap::Opaque};
    }
}

void AlphaRows::expandRow(std::span<const std::uint8_t> stored, std::span<std::uint8_t> row) const {
    switch (layout_.colours) {
    case ColourLayout::Bgr24:
        for (std::size_t x = 0, width = row.size() / 4; x < width; ++x) {
            row[4 * x] = stored[3 * x];
            row[4 * x + 1] = stored[3 * x + 1];
            row[4 * x + 2] = stored[3 * x + 2];
            row[4 * x + 3] = AlphaBitmap::Opaque;
        }
        return;
    case ColourLayout::Masked32:
        expandMasked(stored, row);
        return;
    case ColourLayout::Palette:
        expandIndexed(stored, row);
        return;
    }
}

void AlphaRows::expandMasked(std::span<const std::uint8_t> stored,
                             std::span<std::uint8_t> row) const {
    const ChannelShifts shifts = layout_.shifts.value_or(
        ChannelShifts{static_cast<std::uint8_t>(layout_.channels.red * 8),
                      static_cast<std::uint8_t>(layout_.channels.green * 8),
                      static_cast<std::uint8_t>(layout_.channels.blue * 8)});
    for (std::size_t x = 0, width = row.size() / 4; x < width; ++x) {
        const std::uint32_t value = BmpHeader::readUnsigned(stored.data(), 4 * x, 4);
        row[4 * x] = static_cast<std::uint8_t>(value >> shifts.blue);
        row[4 * x + 1] = static_cast<std::uint8_t>(value >> shifts.green);
        row[4 * x + 2] = static_cast<std::uint8_t>(value >> shifts.red);
        row[4 * x + 3] = AlphaBitmap::Opaque;
    }
}

// Indices of 1, 4 or 8 bits, the leftmost pixel in the highest bits of its byte.
void AlphaRows::expandIndexed(std::span<const std::uint8_t> stored,
                              std::span<std::uint8_t> row) const {
    const unsigned bits = layout_.bitsPerPixel;
    const unsigned mask = (1u << bits) - 1;
    for (std::size_t x = 0, width = row.size() / 4; x < width; ++x) {
        const std::size_t bit = x * bits;
        const unsigned index = (stored[bit / 8] >> (8 - bits - bit % 8)) & mask;
        std::memcpy(row.data() + 4 * x, entries_[index].data(), 4);
    }
}

void AlphaRows::expandIndices(std::span<const std::uint8_t> indices,
                              std::span<std::uint8_t> row) const {
    for (std::size_t x = 0, width = std::min(indices.size(), row.size() / 4); x < width; ++x) {
        std::memcpy(row.data() + 4 * x, entries_[indices[x]].data(), 4);
    }
}

} // namespace pixtint
