#include "BmpBytes.h"

#include <cstring>

namespace {

void put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

std::int32_t get32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

int strideOf(int width, int bitCount) {
    return ((width * bitCount + 31) / 32) * 4;
}

std::vector<std::uint8_t> header(int width, int height, int bitCount, std::size_t paletteBytes) {
    const std::size_t pixelBytes = static_cast<std::size_t>(strideOf(width, bitCount)) * height;
    const std::size_t dataOffset = 54 + paletteBytes;
    std::vector<std::uint8_t> bytes(dataOffset + pixelBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::int32_t>(bytes.size()));
    put32(bytes, 10, static_cast<std::int32_t>(dataOffset));
    put32(bytes, 14, 40);
    put32(bytes, 18, width);
    put32(bytes, 22, height);
    bytes[26] = 1;
    bytes[28] = static_cast<std::uint8_t>(bitCount);
    put32(bytes, 34, static_cast<std::int32_t>(pixelBytes));
    put32(bytes, 38, 2835);
    put32(bytes, 42, 2835);
    return bytes;
}

std::size_t pixelOffset(const std::vector<std::uint8_t>& bmp, int x, int y) {
    const int width = get32(bmp, 18);
    const int height = get32(bmp, 22);
    const int storedRow = height - 1 - y;
    return 54 + static_cast<std::size_t>(storedRow) * strideOf(width, 24) + 3 * x;
}

} // namespace

std::vector<std::uint8_t> makeBmp24(int width, int height, Pixel fill) {
    auto bytes = header(width, height, 24, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(bytes, x, y, fill);
        }
    }
    return bytes;
}

std::vector<std::uint8_t> makeBmpWithBitCount(int width, int height, int bitCount) {
    const std::size_t paletteEntries = bitCount <= 8 ? (1u << bitCount) : 0;
    auto bytes = header(width, height, bitCount, paletteEntries * 4);
    for (std::size_t i = 0; i < paletteEntries; ++i) {
        std::memset(&bytes[54 + 4 * i], static_cast<int>(i * 255 / (paletteEntries - 1)), 3);
    }
    return bytes;
}

Pixel pixelAt(const std::vector<std::uint8_t>& bmp, int x, int y) {
    const std::size_t offset = pixelOffset(bmp, x, y);
    return {bmp[offset + 2], bmp[offset + 1], bmp[offset]};
}

void setPixel(std::vector<std::uint8_t>& bmp, int x, int y, Pixel colour) {
    const std::size_t offset = pixelOffset(bmp, x, y);
    bmp[offset] = colour.blue;
    bmp[offset + 1] = colour.green;
    bmp[offset + 2] = colour.red;
}
