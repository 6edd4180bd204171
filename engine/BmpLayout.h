// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace pixtint {

class ByteSource;

// Where a BMP file keeps what the conversion reads and writes, found through its own header:
// the file header (14 bytes), an information header of one of the known sizes, bit masks,
// a colour table, the pixel rows at the pixel offset, and whatever follows them.
enum class HeaderKind {
    Core, // 12 bytes: 16-bit width and height, three-byte palette entries
    Os2,  // 16 or 64 bytes: the second OS/2 header
    Info, // 40 bytes
    V2,   // 52 bytes: red, green and blue masks inside
    V3,   // 56 bytes: an alpha mask as well
    V4,   // 108 bytes: colour space
    V5,   // 124 bytes: rendering intent and an embedded or linked profile
};

// The compression field, as far as the conversion tells kinds apart.
enum class Compression { None, Rle8, Rle4, BitFields, AlphaBitFields, Other };

// How the conversion walks a picture's colours.
enum class ColourLayout {
    Bgr24,    // three bytes a pixel: blue, green, red
    Masked32, // four bytes a pixel: red, green and blue at whole bytes, a fourth byte kept
    Palette,  // pixels are indices into the colour table, which is what changes
};

// The byte of a four-byte pixel that holds each channel.
struct ChannelBytes {
    std::uint8_t red = 2;
    std::uint8_t green = 1;
    std::uint8_t blue = 0;
    std::uint8_t fourth = 3; // alpha or unused: never changed
};

// Where a four-byte pixel, read as a little-endian number, keeps each channel's eight bits,
// when they are not whole bytes; every other bit is kept.
struct ChannelShifts {
    std::uint8_t red = 16;
    std::uint8_t green = 8;
    std::uint8_t blue = 0;

    std::uint32_t colourBits() const {
        return std::uint32_t{0xFF} << red | std::uint32_t{0xFF} << green |
               std::uint32_t{0xFF} << blue;
    }
};

struct BmpLayout {
    HeaderKind kind = HeaderKind::Info;
    std::uint32_t headerSize = 40;
    std::uint16_t bitsPerPixel = 24;
    Compression compression = Compression::None;
    std::string compressionName; // "none", "RLE8", "bit fields", ...
    ColourLayout colours = ColourLayout::Bgr24;
    std::int32_t width = 0;
    std::int32_t height = 0; // negative for a top-down picture
    std::uint64_t rowCount = 0;
    std::uint64_t stride = 0;            // bytes a stored row takes, padding included
    std::uint64_t pixelOffset = 0;       // where the pixel rows (or the compressed data) start
    ChannelBytes channels;               // Masked32
    std::optional<ChannelShifts> shifts; // Masked32 whose masks are not whole bytes
    std::uint32_t alphaMask = 0;         // Masked32 whose header gives an alpha mask

    // The colour table (palette pictures): entries of `entrySize` bytes, blue, green, red
    // first. `entryCapacity` is how many the table may hold (2^bits), or `entryCount` when
    // the header has no field to count one more.
    std::uint64_t paletteOffset = 0;
    std::uint32_t entryCount = 0;
    std::uint32_t entrySize = 4;
    std::uint32_t entryCapacity = 0;

    bool topDown() const { return height < 0; }
    bool hasAlpha() const { return colours == ColourLayout::Masked32 && alphaMask != 0; }
    bool compressed() const {
        return compression == Compression::Rle8 || compression == Compression::Rle4;
    }
    std::uint64_t paletteEnd() const {
        return paletteOffset + std::uint64_t{entryCount} * entrySize;
    }
    // The end of the uncompressed rows the header promises (past the file's end when short).
    std::uint64_t rowsEnd() const { return pixelOffset + rowCount * stride; }
    std::string headerName() const;
};

// Field offsets that growth rewrites; 0 where the header has no such field.
struct LayoutFields {
    std::uint64_t heightOffset = 0;
    std::uint32_t heightBytes = 4;
    std::uint64_t pixelDataSizeOffset = 0;
    std::uint64_t coloursUsedOffset = 0;
    std::uint64_t profileOffsetOffset = 0; // V5: the profile's offset from the header's start
};
LayoutFields layoutFields(const BmpLayout& layout);

// Largest header, masks after a 40-byte header, and a full 256-entry table: the bytes before
// the pixels that the conversion may need to read.
inline constexpr std::uint64_t LargestHead = 14 + 124 + 16 + 256 * 4;

// Reads and checks the layout of the picture in `source`. Throws Error: TooShort when the file
// ends inside its header, InvalidWidth for a width of 0 or less, NoPixels when the pixels would
// start at the file's end, NotAPicture for fields that contradict each other (a pixel offset
// inside the header or past the file's end, a colour table that runs into the pixels),
// Unsupported with the kind of picture (16-bit, JPEG inside, an unknown header, ...) for what
// the program does not convert.
BmpLayout readBmpLayout(const ByteSource& source);

} // namespace pixtint
