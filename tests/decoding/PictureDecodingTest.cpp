// SPDX-License-Identifier: MIT
#include "decoding/PictureDecoding.h"

#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"
#include "tests/support/TestFolder.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <span>
#include <utility>
#include <vector>

namespace pixtint {

namespace {

// A picture whose every pixel differs, so a misplaced row or column shows.
std::vector<std::uint8_t> gradient(int width, int height) {
    auto bmp = makeBmp24(width, height, {});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(bmp, x, y,
                     {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                      static_cast<std::uint8_t>(x + y)});
        }
    }
    return bmp;
}

// 400 x 300 pixels of 200 colours, whose indices differ from pixel to pixel and row to row.
std::vector<std::uint8_t> largePalettePicture() {
    BmpRecipe recipe;
    recipe.width = 400;
    recipe.height = 300;
    recipe.bitCount = 8;
    for (int entry = 0; entry < 200; ++entry) {
        const auto level = static_cast<std::uint8_t>(entry * 37);
        recipe.palette.push_back(
            {level, static_cast<std::uint8_t>(255 - level), static_cast<std::uint8_t>(entry * 11)});
    }
    recipe.pixels = storedRows(8, false, 400, 300, [&](auto& row, int x, int y) {
        row.push_back(static_cast<std::uint8_t>((x + 3 * y) % 200));
    });
    return makeBmp(recipe);
}

QImage asRgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// Pixel for pixel as Qt's reader, and large pictures sampled down keeping their proportions.
TEST(PictureDecoding, ReadsPlainBitmapsBottomUpOrTopDownAsQtDoesAndSamplesThemDown) {
    TestFolder folder;
    folder.write("large.bmp", gradient(40, 20));
    const QImage sampled = decodePictureFile(folder / "large.bmp", 10);
    EXPECT_EQ(sampled.size(), QSize(10, 5));
    EXPECT_EQ(sampled.pixelColor(3, 2), QColor(12 * 7, 8 * 11, 12 + 8)); // pixel (12, 8)

    for (const bool topDown : {false, true}) {
        for (const int width : {1, 2, 3, 4, 5, 16}) {
            auto bmp = gradient(width, 3);
            if (topDown) { // height -3: the first stored row is now the top one
                bmp[22] = 0xFD;
                bmp[23] = bmp[24] = bmp[25] = 0xFF;
            }
            folder.write("p.bmp", bmp);
            EXPECT_EQ(asRgb(decodePictureFile(folder / "p.bmp")),
                      asRgb(QImage::fromData(bmp.data(), static_cast<int>(bmp.size()))))
                << "width " << width << (topDown ? " top-down" : "");
        }
    }
}

// A large palette picture is sampled from the rows shown, not read whole, as Qt's reader shows
// it.
TEST(PictureDecoding, SamplesLargePalettePicturesByTheirRows) {
    const auto large = largePalettePicture();
    const MemorySource source(large);
    const QImage sampled = decodePicture(source, 40);
    EXPECT_EQ(sampled.size(), QSize(40, 30));
    EXPECT_EQ(
        asRgb(sampled).pixelColor(3, 2),
        asRgb(QImage::fromData(large.data(), static_cast<int>(large.size()))).pixelColor(30, 20));
    EXPECT_LT(source.read, large.size() / 4);
}

} // namespace pixtint
