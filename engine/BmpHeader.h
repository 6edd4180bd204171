// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace pixtint {

// Where the program reaches into a BMP file. It does not parse the format in general: the
// pixel data is taken to start at offset 54, stored bottom-up, three bytes a pixel in the
// order blue, green, red, each row padded to a multiple of four bytes. Multi-byte fields are
// little-endian.
namespace BmpHeader {

inline constexpr std::size_t SignatureOffset = 0; // "BM"
inline constexpr std::size_t FileSizeOffset = 2;
inline constexpr std::size_t PixelOffsetOffset = 10; // where the format says the pixels are
inline constexpr std::size_t InfoSizeOffset = 14;
inline constexpr std::size_t WidthOffset = 18;
inline constexpr std::size_t HeightOffset = 22;
inline constexpr std::size_t BitCountOffset = 28;
inline constexpr std::size_t CompressionOffset = 30;
inline constexpr std::size_t PixelDataSizeOffset = 34;
inline constexpr std::size_t PixelDataOffset = 54; // where the program takes the pixels to be
inline constexpr std::size_t Size = PixelDataOffset;

inline constexpr std::uint8_t TwentyFourBits = 24;

// The unsigned field of `width` bytes (at most four) at `offset`; `bytes` must hold them.
inline std::uint32_t readUnsigned(const std::uint8_t* bytes, std::size_t offset,
                                  std::size_t width) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < width; ++i) {
        bits |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return bits;
}

// The signed 32-bit field at `offset`; `bytes` must hold its four bytes.
inline std::int32_t readInt32(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::int32_t>(readUnsigned(bytes, offset, 4));
}

inline void writeInt32(std::uint8_t* bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace BmpHeader

} // namespace pixtint
