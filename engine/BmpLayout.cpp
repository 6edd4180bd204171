// SPDX-License-Identifier: MIT
#include "engine/BmpLayout.h"

#include "engine/BmpHeader.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

namespace pixtint {

namespace {

constexpr std::uint64_t FileHeaderSize = 14;
constexpr std::uint64_t InfoSize = 40;

// The raw compression values of the information header.
enum : std::uint32_t {
    RawNone = 0,
    RawRle8 = 1,
    RawRle4 = 2,
    RawBitFields = 3, // Huffman 1D in an OS/2 header
    RawJpeg = 4,      // RLE24 in an OS/2 header
    RawPng = 5,
    RawAlphaBitFields = 6,
};

// The first bytes of the file, with little-endian reads that check they hold the field.
class Head {
public:
    explicit Head(const ByteSource& source)
        : bytes_(static_cast<std::size_t>(std::min(source.size(), LargestHead))) {
        bytes_.resize(source.readAt(0, bytes_));
    }

    std::uint64_t size() const { return bytes_.size(); }

    std::uint32_t unsignedAt(std::uint64_t offset, std::uint32_t width) const {
        if (offset + width > bytes_.size()) {
            throw Error(ErrorKind::TooShort);
        }
        return BmpHeader::readUnsigned(bytes_.data(), static_cast<std::size_t>(offset), width);
    }
    std::uint16_t u16(std::uint64_t offset) const {
        return static_cast<std::uint16_t>(unsignedAt(offset, 2));
    }
    std::uint32_t u32(std::uint64_t offset) const { return unsignedAt(offset, 4); }
    std::int32_t i32(std::uint64_t offset) const { return static_cast<std::int32_t>(u32(offset)); }

private:
    std::vector<std::uint8_t> bytes_;
};

Error unsupported(const std::string& what, Refusal refusal) {
    return Error(ErrorKind::Unsupported, {}, what, std::move(refusal));
}

Error contradictory(const std::string& what) {
    return Error(ErrorKind::NotAPicture, {}, what, Refusal(Refused::Damaged));
}

HeaderKind kindOfHeader(std::uint32_t size) {
    switch (size) {
    case 12:
        return HeaderKind::Core;
    case 16:
    case 64:
        return HeaderKind::Os2;
    case 40:
        return HeaderKind::Info;
    case 52:
        return HeaderKind::V2;
    case 56:
        return HeaderKind::V3;
    case 108:
        return HeaderKind::V4;
    case 124:
        return HeaderKind::V5;
    default:
        throw unsupported("a " + std::to_string(size) + "-byte header",
                          Refusal(Refused::HeaderSize, size));
    }
}

void readCompression(BmpLayout& layout, std::uint32_t raw) {
    const bool os2 = layout.kind == HeaderKind::Os2;
    struct Known {
        std::uint32_t raw;
        Compression compression;
        const char* name;
    };
    static constexpr Known Windows[] = {
        {RawNone, Compression::None, "none"},
        {RawRle8, Compression::Rle8, "RLE8"},
        {RawRle4, Compression::Rle4, "RLE4"},
        {RawBitFields, Compression::BitFields, "bit fields"},
        {RawJpeg, Compression::Other, "JPEG"},
        {RawPng, Compression::Other, "PNG"},
        {RawAlphaBitFields, Compression::AlphaBitFields, "alpha bit fields"},
        {11, Compression::Other, "CMYK"},
        {12, Compression::Other, "CMYK RLE8"},
        {13, Compression::Other, "CMYK RLE4"},
    };
    static constexpr Known Os2[] = {
        {RawNone, Compression::None, "none"},   {RawRle8, Compression::Rle8, "RLE8"},
        {RawRle4, Compression::Rle4, "RLE4"},   {RawBitFields, Compression::Other, "Huffman 1D"},
        {RawJpeg, Compression::Other, "RLE24"},
    };
    const std::span<const Known> table = os2 ? std::span<const Known>(Os2) : Windows;
    const auto known =
        std::find_if(table.begin(), table.end(), [raw](const Known& k) { return k.raw == raw; });
    layout.compression = known == table.end() ? Compression::Other : known->compression;
    layout.compressionName =
        known == table.end() ? "compression " + std::to_string(raw) : known->name;
}

std::string bitsText(const BmpLayout& layout) {
    return std::to_string(layout.bitsPerPixel) + "-bit picture";
}

// "RLE8 compression", or for a value no format names "unknown compression 256".
std::string compressionPhrase(const BmpLayout& layout) {
    return layout.compression == Compression::Other &&
                   layout.compressionName.starts_with("compression ")
               ? "unknown " + layout.compressionName
               : layout.compressionName + " compression";
}

Refusal compressionRefusal(const BmpLayout& layout) {
    return Refusal(Refused::Compression, layout.bitsPerPixel, layout.compressionName);
}

// The bit where a mask of eight contiguous bits starts.
std::optional<std::uint8_t> shiftOf(std::uint32_t mask) {
    for (std::uint8_t shift = 0; shift <= 24; ++shift) {
        if (mask == std::uint32_t{0xFF} << shift) {
            return shift;
        }
    }
    return std::nullopt;
}

// Masks follow a 40-byte header; the larger headers hold them.
void readMasks(BmpLayout& layout, const Head& head) {
    if (layout.compression == Compression::None) {
        return; // blue, green, red, then the fourth byte
    }
    const std::uint64_t at = FileHeaderSize + InfoSize;
    const std::uint32_t masks[3] = {head.u32(at), head.u32(at + 4), head.u32(at + 8)};
    const auto red = shiftOf(masks[0]);
    const auto green = shiftOf(masks[1]);
    const auto blue = shiftOf(masks[2]);
    if (!red || !green || !blue || (masks[0] & masks[1]) != 0 || (masks[0] & masks[2]) != 0 ||
        (masks[1] & masks[2]) != 0) {
        throw unsupported("32-bit picture whose colour masks are not 8 separate bits",
                          Refusal(Refused::ColourMasks));
    }
    const bool alphaMask =
        layout.compression == Compression::AlphaBitFields || layout.headerSize >= 56;
    const std::uint32_t alpha = alphaMask ? head.u32(at + 12) : 0;
    if ((alpha & (masks[0] | masks[1] | masks[2])) != 0) {
        throw unsupported("32-bit picture whose alpha mask overlaps its colours",
                          Refusal(Refused::ColourMasks));
    }
    layout.alphaMask = alpha;
    if (*red % 8 != 0 || *green % 8 != 0 || *blue % 8 != 0) {
        layout.shifts = ChannelShifts{*red, *green, *blue};
        return;
    }
    const auto byte = [](std::uint8_t shift) {
        return static_cast<std::uint8_t>(shift / 8);
    };
    layout.channels = {byte(*red), byte(*green), byte(*blue),
                       static_cast<std::uint8_t>(6 - byte(*red) - byte(*green) - byte(*blue))};
}

void readColourLayout(BmpLayout& layout, const Head& head) {
    const std::uint16_t bits = layout.bitsPerPixel;
    const Compression compression = layout.compression;
    if (layout.compressionName == "JPEG" || layout.compressionName == "PNG") {
        throw unsupported(
            "a " + layout.compressionName + " picture inside a BMP",
            Refusal(layout.compressionName == "JPEG" ? Refused::JpegInside : Refused::PngInside));
    }
    if (bits == 1 || bits == 4 || bits == 8) {
        const bool fits = compression == Compression::None ||
                          (compression == Compression::Rle8 && bits == 8) ||
                          (compression == Compression::Rle4 && bits == 4);
        if (!fits) {
            throw unsupported(bitsText(layout) + " with " + compressionPhrase(layout),
                              compressionRefusal(layout));
        }
        layout.colours = ColourLayout::Palette;
    } else if (bits == 24) {
        if (compression != Compression::None) {
            throw unsupported("compressed 24-bit picture (" + layout.compressionName + ")",
                              compressionRefusal(layout));
        }
        layout.colours = ColourLayout::Bgr24;
    } else if (bits == 32 && layout.kind != HeaderKind::Core) {
        const bool fits = compression == Compression::None ||
                          compression == Compression::BitFields ||
                          compression == Compression::AlphaBitFields;
        if (!fits) {
            throw unsupported("32-bit picture with " + compressionPhrase(layout),
                              compressionRefusal(layout));
        }
        layout.colours = ColourLayout::Masked32;
        readMasks(layout, head);
    } else {
        throw unsupported(bitsText(layout), Refusal(Refused::BitCount, layout.bitsPerPixel));
    }
    if (layout.topDown() && layout.compressed()) {
        throw contradictory("a compressed picture stored top-down");
    }
}

// Where the colour table starts: after the header, and after the masks a 40-byte header
// is followed by.
std::uint64_t paletteOffsetOf(const BmpLayout& layout) {
    std::uint64_t offset = FileHeaderSize + layout.headerSize;
    if (layout.kind == HeaderKind::Info && layout.compression == Compression::BitFields) {
        offset += 12;
    } else if (layout.kind == HeaderKind::Info &&
               layout.compression == Compression::AlphaBitFields) {
        offset += 16;
    }
    return offset;
}

void readPalette(BmpLayout& layout, const Head& head) {
    const std::uint32_t capacity = std::uint32_t{1} << layout.bitsPerPixel;
    if (layout.kind == HeaderKind::Core) {
        // No count in the header: the table fills the room before the pixels.
        layout.entrySize = 3;
        const std::uint64_t room = layout.pixelOffset > layout.paletteOffset
                                       ? layout.pixelOffset - layout.paletteOffset
                                       : 0;
        layout.entryCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(capacity, room / 3));
        layout.entryCapacity = layout.entryCount;
    } else {
        const std::uint32_t used = layout.headerSize >= 36 ? head.u32(FileHeaderSize + 32) : 0;
        layout.entryCount = used == 0 ? capacity : std::min(used, capacity);
        layout.entryCapacity = layout.headerSize >= 36 ? capacity : layout.entryCount;
    }
    if (layout.paletteEnd() > layout.pixelOffset) {
        throw contradictory("the colour table runs into the pixels");
    }
}

void readPlacement(BmpLayout& layout, const Head& head, std::uint64_t fileSize) {
    layout.pixelOffset = head.u32(10);
    layout.paletteOffset = paletteOffsetOf(layout);
    if (layout.pixelOffset < layout.paletteOffset) {
        throw contradictory("the pixels would start inside the header");
    }
    if (layout.pixelOffset > fileSize) {
        throw contradictory("the pixels would start past the end of the file");
    }
    if (layout.colours == ColourLayout::Palette) {
        readPalette(layout, head);
    } else {
        layout.paletteOffset = 0;
    }
    if (layout.pixelOffset == fileSize) {
        throw Error(ErrorKind::NoPixels);
    }
}

void readSize(BmpLayout& layout, const Head& head) {
    if (layout.kind == HeaderKind::Core) {
        layout.width = head.u16(18);
        layout.height = head.u16(20);
        layout.bitsPerPixel = head.u16(24);
    } else {
        layout.width = head.i32(18);
        layout.height = head.i32(22);
        layout.bitsPerPixel = head.u16(28);
    }
    if (layout.width <= 0) {
        throw Error(ErrorKind::InvalidWidth);
    }
    if (layout.height == 0) {
        throw contradictory("a picture without rows");
    }
    layout.rowCount = layout.height < 0
                          ? std::uint64_t{0} -
                                static_cast<std::uint64_t>(static_cast<std::int64_t>(layout.height))
                          : static_cast<std::uint64_t>(layout.height);
    const std::uint64_t rowBits = static_cast<std::uint64_t>(layout.width) * layout.bitsPerPixel;
    layout.stride = (rowBits + 31) / 32 * 4;
}

} // namespace

std::string BmpLayout::headerName() const {
    switch (kind) {
    case HeaderKind::Core:
        return "OS/2 1";
    case HeaderKind::Os2:
        return "OS/2 2";
    case HeaderKind::Info:
        return "Windows 3";
    case HeaderKind::V2:
        return "V2";
    case HeaderKind::V3:
        return "V3";
    case HeaderKind::V4:
        return "V4";
    case HeaderKind::V5:
        return "V5";
    }
    return "unknown";
}

LayoutFields layoutFields(const BmpLayout& layout) {
    LayoutFields fields;
    if (layout.kind == HeaderKind::Core) {
        fields.heightOffset = 20;
        fields.heightBytes = 2;
        return fields;
    }
    fields.heightOffset = 22;
    if (layout.headerSize >= 24) {
        fields.pixelDataSizeOffset = FileHeaderSize + 20;
    }
    if (layout.headerSize >= 36) {
        fields.coloursUsedOffset = FileHeaderSize + 32;
    }
    if (layout.kind == HeaderKind::V5) {
        fields.profileOffsetOffset = FileHeaderSize + 112;
    }
    return fields;
}

namespace {

BmpLayout layoutOf(const ByteSource& source) {
    const Head head(source);
    BmpLayout layout;
    layout.headerSize = head.u32(FileHeaderSize);
    layout.kind = kindOfHeader(layout.headerSize);
    if (head.size() < FileHeaderSize + layout.headerSize) {
        throw Error(ErrorKind::TooShort);
    }
    readSize(layout, head);
    const bool hasCompression = layout.kind != HeaderKind::Core && layout.headerSize >= 20;
    readCompression(layout, hasCompression ? head.u32(30) : RawNone);
    readColourLayout(layout, head);
    readPlacement(layout, head, source.size());
    return layout;
}

} // namespace

BmpLayout readBmpLayout(const ByteSource& source) {
    try {
        return layoutOf(source);
    } catch (const Error& error) {
        if (error.path().empty() && error.kind() != ErrorKind::System) {
            throw Error(error.kind(), source.path(), error.detail(), error.refusal());
        }
        throw;
    }
}

} // namespace pixtint
