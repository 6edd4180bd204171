// SPDX-License-Identifier: MIT
#include "platform/PictureDecoding.h"

#include "engine/ByteSource.h"
#include "tests/support/BmpBytes.h"
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
            const QImage ours =
                decodePictureFile(folder / "p.bmp").convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(ours, QImage::fromData(bmp.data(), static_cast<int>(bmp.size()))
                                .convertToFormat(QImage::Format_RGB32))
                << "width " << width << (topDown ? " top-down" : "");
        }
    }
}

namespace {

// Counts what a decoder reads.
class CountingSource : public ByteSource {
public:
    explicit CountingSource(std::vector<std::uint8_t> bytes)
        : bytes_(std::move(bytes)) {}

    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override {
        const std::size_t count =
            offset >= bytes_.size() ? 0 : std::min(buffer.size(), bytes_.size() - offset);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, buffer.begin());
        read += count;
        return count;
    }
    const std::filesystem::path& path() const override { return path_; }

    mutable std::uint64_t read = 0;

private:
    std::vector<std::uint8_t> bytes_;
    std::filesystem::path path_;
};

// Indices that differ from pixel to pixel and row to row, within the palette's `entries`.
BmpRecipe palettePicture(int width, int height, int bits, int entries) {
    BmpRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.bitCount = bits;
    for (int entry = 0; entry < entries; ++entry) {
        const auto level = static_cast<std::uint8_t>(entry * 37);
        recipe.palette.push_back(
            {level, static_cast<std::uint8_t>(255 - level), static_cast<std::uint8_t>(entry * 11)});
    }
    const std::size_t stride = strideFor(width, bits);
    recipe.pixels.assign(stride * static_cast<std::size_t>(std::abs(height)), 0);
    for (int y = 0; y < std::abs(height); ++y) {
        for (int x = 0; x < width; ++x) {
            const auto index = static_cast<unsigned>((x + 3 * y) % entries);
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            recipe.pixels[y * stride + bit / 8] |=
                static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
        }
    }
    return recipe;
}

QImage asRgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// Palette pictures of every bit count, either way up, as Qt's reader shows them; a large one
// is sampled from the rows shown, not read whole.
TEST(PictureDecoding, ReadsPalettePicturesAsQtDoesAndSamplesLargeOnesByTheirRows) {
    for (const int bits : {1, 4, 8}) {
        for (const int height : {3, -3}) {
            for (const int width : {1, 3, 5, 17}) {
                const auto bmp = makeBmp(palettePicture(width, height, bits, bits == 1 ? 2 : 5));
                EXPECT_EQ(asRgb(decodePicture(CountingSource(bmp))),
                          asRgb(QImage::fromData(bmp.data(), static_cast<int>(bmp.size()))))
                    << bits << " bits, " << width << " x " << height;
            }
        }
    }
    const auto large = makeBmp(palettePicture(400, 300, 8, 200));
    const CountingSource source(large);
    const QImage sampled = decodePicture(source, 40);
    EXPECT_EQ(sampled.size(), QSize(40, 30));
    EXPECT_EQ(
        asRgb(sampled).pixelColor(3, 2),
        asRgb(QImage::fromData(large.data(), static_cast<int>(large.size()))).pixelColor(30, 20));
    EXPECT_LT(source.read, large.size() / 4);
}

} // namespace pixtint
