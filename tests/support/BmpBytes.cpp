#include "tests/support/BmpBytes.h"

namespace pixtint {

namespace {

void put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t strideOf(int width, int bitCount) {
    return static_cast<std::uint32_t>((width * bitCount + 31) / 32 * 4);
}

} // namespace

std::vector<std::uint8_t> makeBmpWithBitCount(int width, int height, int bitCount) {
    const std::uint32_t dataOffset = 54 + (bitCount <= 8 ? 4u << bitCount : 0u);
    const std::uint32_t pixelBytes = strideOf(width, bitCount) * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> bytes(dataOffset + pixelBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 10, dataOffset);
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = static_cast<std::uint8_t>(bitCount);
    put32(bytes, 34, pixelBytes);
    put32(bytes, 38, 2835);
    put32(bytes, 42, 2835);
    return bytes;
}

std::vector<std::uint8_t> makeBmp24(int width, int height, Pixel fill) {
    auto bytes = makeBmpWithBitCount(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(bytes, x, y, fill);
        }
    }
    return bytes;
}

void setPixel(std::vector<std::uint8_t>& bmp, int x, int y, Pixel colour) {
    const int width = bmp[18] | bmp[19] << 8 | bmp[20] << 16;
    const int height = bmp[22] | bmp[23] << 8 | bmp[24] << 16;
    const std::size_t offset = 54 + std::size_t{strideOf(width, 24)} * (height - 1 - y) + 3 * x;
    bmp[offset] = colour.blue;
    bmp[offset + 1] = colour.green;
    bmp[offset + 2] = colour.red;
}

} // namespace pixtint
