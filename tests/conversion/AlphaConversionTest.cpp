// SPDX-License-Identifier: MIT
// A picture without alpha made 32-bit with alpha: streamed in bounded chunks, whatever their
// size, with the same bytes.

#include "conversion/FileConversion.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"

#include <gtest/gtest.h>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

constexpr Rgb Key{255, 0, 255};
const ConversionRequest KeyToTransparent{.pairs = {{Key, {}, true}}, .everyKind = true};

struct Stream {
    Bytes bytes;
    std::size_t largestPart = 0;
    ConversionResult result;
};

Stream streamed(const Bytes& file, std::size_t chunk) {
    Stream stream;
    stream.result = convertFile(
        MemorySource(file), KeyToTransparent,
        [&](std::span<const std::uint8_t> part) {
            stream.bytes.insert(stream.bytes.end(), part.begin(), part.end());
            stream.largestPart = std::max(stream.largestPart, part.size());
        },
        chunk);
    return stream;
}

// Every third pixel is the key.
Bytes keyed24(int width, int height) {
    Bytes picture = makeBmp24(width, height, Pixel{1, 2, 3});
    for (int y = 0; y < height; ++y) {
        for (int x = y % 3; x < width; x += 3) {
            setPixel(picture, x, y, Pixel{255, 0, 255});
        }
    }
    return picture;
}

// Runs of 7 pixels of index 1 (the key) and 0 alternately, row after row.
Bytes keyedRle8(int width, int height) {
    BmpRecipe recipe{.width = width, .height = height, .bitCount = 8, .compression = 1};
    recipe.palette = {{10, 20, 30}, {255, 0, 255}};
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; x += 7) {
            const int run = std::min(7, width - x);
            recipe.pixels.insert(recipe.pixels.end(), {static_cast<std::uint8_t>(run),
                                                       static_cast<std::uint8_t>(x / 7 % 2)});
        }
        recipe.pixels.insert(recipe.pixels.end(), {0, 0});
    }
    recipe.pixels.insert(recipe.pixels.end(), {0, 1});
    return makeBmp(recipe);
}

} // namespace

TEST(AlphaConversion, AnyChunkSizeGivesTheSameBytesInPartsOfAtMostAChunkOrARow) {
    for (const auto& [name, picture] :
         {std::pair{"24-bit", keyed24(301, 40)}, std::pair{"RLE8", keyedRle8(301, 40)}}) {
        const Stream whole = streamed(picture, ConversionChunkSize);
        ASSERT_EQ(whole.bytes.size(), 138u + 301 * 4 * 40) << name;
        EXPECT_GT(whole.result.counts.pixelsChanged(), 301u * 40 / 3) << name;
        for (const std::size_t chunk : {64, 1204, 1205, 5000}) {
            SCOPED_TRACE(std::string(name) + ", chunk " + std::to_string(chunk));
            const Stream parts = streamed(picture, chunk);
            EXPECT_TRUE(parts.bytes == whole.bytes);
            EXPECT_EQ(parts.result.counts.pixelsChanged(), whole.result.counts.pixelsChanged());
            EXPECT_LE(parts.largestPart, std::max<std::size_t>(chunk, 301 * 4));
        }
    }
}

} // namespace pixtint
