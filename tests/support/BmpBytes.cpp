// SPDX-License-Identifier: MIT
#include "tests/support/BmpBytes.h"

#include <algorithm>
#include <span>
#include <stdexcept>

namespace pixtint {

namespace {

// Where makeBmp24 puts the pixels: after the file header and a 40-byte information header.
constexpr std::size_t PixelOffset24 = 54;

void put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void paint(std::span<std::uint8_t> pixels, Pixel colour) {
    for (std::size_t x = 0; x + 3 <= pixels.size(); x += 3) {
        pixels[x] = colour.blue;
        pixels[x + 1] = colour.green;
        pixels[x + 2] = colour.red;
    }
}

BmpRecipe sized(int width, int height, int bitCount) {
    BmpRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.bitCount = bitCount;
    return recipe;
}

} // namespace

std::vector<std::uint8_t> makeBmpWithBitCount(int width, int height, int bitCount) {
    BmpRecipe recipe = sized(width, height, bitCount);
    if (bitCount <= 8) {
        recipe.palette.resize(std::size_t{1} << bitCount);
    }
    recipe.pixels.resize(strideFor(width, bitCount) * static_cast<std::size_t>(height));
    return makeBmp(recipe);
}

std::vector<std::uint8_t> makeBmp24(int width, int height, Pixel fill) {
    BmpRecipe recipe = sized(width, height, 24);
    recipe.pixels = storedRows(24, false, width, height, [&](auto& row, int, int) {
        row.insert(row.end(), {fill.blue, fill.green, fill.red});
    });
    return makeBmp(recipe);
}

void setPixel(std::vector<std::uint8_t>& bmp, int x, int y, Pixel colour) {
    const int width = bmp[18] | bmp[19] << 8 | bmp[20] << 16;
    const int height = bmp[22] | bmp[23] << 8 | bmp[24] << 16;
    const std::size_t offset =
        PixelOffset24 + strideFor(width, 24) * (height - 1 - y) + std::size_t{3} * x;
    paint(std::span(bmp).subspan(offset, 3), colour);
}

std::size_t strideFor(int width, int bitCount) {
    return static_cast<std::size_t>((static_cast<std::int64_t>(width) * bitCount + 31) / 32 * 4);
}

namespace {

std::size_t masksAfterHeader(const BmpRecipe& recipe) {
    if (recipe.headerSize != 40) {
        return 0;
    }
    return recipe.compression == 3 ? 12 : recipe.compression == 6 ? 16 : 0;
}

} // namespace

std::size_t pixelOffsetOf(const BmpRecipe& recipe) {
    const std::size_t entry = recipe.headerSize == 12 ? 3 : 4;
    return 14 + recipe.headerSize + masksAfterHeader(recipe) + entry * recipe.palette.size() +
           recipe.gap.size();
}

std::vector<std::uint8_t> makeBmp(const BmpRecipe& recipe) {
    const std::size_t offset = pixelOffsetOf(recipe);
    std::vector<std::uint8_t> bytes(
        14 + std::max<std::uint32_t>(recipe.headerSize, 40) + masksAfterHeader(recipe), 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(offset + recipe.pixels.size() + recipe.tail.size()));
    put32(bytes, 10, static_cast<std::uint32_t>(offset));
    put32(bytes, 14, recipe.headerSize);
    if (recipe.headerSize == 12) {
        bytes[18] = static_cast<std::uint8_t>(recipe.width);
        bytes[19] = static_cast<std::uint8_t>(recipe.width >> 8);
        bytes[20] = static_cast<std::uint8_t>(recipe.height);
        bytes[21] = static_cast<std::uint8_t>(recipe.height >> 8);
        bytes[22] = 1;
        bytes[24] = static_cast<std::uint8_t>(recipe.bitCount);
        bytes.resize(26);
    } else {
        put32(bytes, 18, static_cast<std::uint32_t>(recipe.width));
        put32(bytes, 22, static_cast<std::uint32_t>(recipe.height));
        bytes[26] = 1;
        bytes[28] = static_cast<std::uint8_t>(recipe.bitCount);
        put32(bytes, 30, recipe.compression);
        put32(bytes, 34, static_cast<std::uint32_t>(recipe.pixels.size()));
        put32(bytes, 46,
              recipe.coloursUsed == 0xFFFFFFFF ? static_cast<std::uint32_t>(recipe.palette.size())
                                               : recipe.coloursUsed);
        const bool masksInside = recipe.headerSize >= 52 || masksAfterHeader(recipe) > 0;
        for (std::size_t i = 0; masksInside && i < 4; ++i) {
            if (54 + 4 * i + 4 <= bytes.size()) {
                put32(bytes, 54 + 4 * i, recipe.masks[i]);
            }
        }
        bytes.resize(14 + recipe.headerSize + masksAfterHeader(recipe));
    }
    for (const Pixel& entry : recipe.palette) {
        bytes.insert(bytes.end(), {entry.blue, entry.green, entry.red});
        if (recipe.headerSize != 12) {
            bytes.push_back(0);
        }
    }
    bytes.insert(bytes.end(), recipe.gap.begin(), recipe.gap.end());
    bytes.insert(bytes.end(), recipe.pixels.begin(), recipe.pixels.end());
    bytes.insert(bytes.end(), recipe.tail.begin(), recipe.tail.end());
    return bytes;
}

std::vector<std::uint8_t> storedRows(int bitCount, bool topDown, int width, int height,
                                     const PixelWriter& pixel) {
    std::vector<std::uint8_t> rows;
    for (int stored = 0; stored < height; ++stored) {
        std::vector<std::uint8_t> row;
        for (int x = 0; x < width; ++x) {
            pixel(row, x, topDown ? stored : height - 1 - stored);
        }
        row.resize(strideFor(width, bitCount), 0);
        rows.insert(rows.end(), row.begin(), row.end());
    }
    return rows;
}

} // namespace pixtint
