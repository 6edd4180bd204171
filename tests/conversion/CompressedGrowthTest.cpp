// SPDX-License-Identifier: MIT
// RLE8 and RLE4 icons and strips grown to 16 rows in their own compression, as an independent
// reader (Qt's) decodes them, with every byte of their compressed data kept.

#include "conversion/FileConversion.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

constexpr int Rows = 15;
const Pixel Magenta{255, 0, 255}, Grey{128, 128, 128}, Navy{0, 0, 128}, Green{12, 200, 40};

// The pixel index at column x of stored row y (0 = bottom): runs of three.
int indexAt(int x, int y, int colours) {
    return (x / 3 + y) % colours;
}

// Each stored row as runs of one index and an end of row; `drawnRows` of them, the picture's
// end code right after the last run when fewer rows are drawn than stored (the rest is left
// to the reader), or after the last end of row.
Bytes compressedRows(int bits, int width, int colours, int drawnRows) {
    Bytes data;
    for (int y = 0; y < drawnRows; ++y) {
        for (int x = 0; x < width;) {
            const int index = indexAt(x, y, colours);
            int count = 0;
            while (x + count < width && indexAt(x + count, y, colours) == index) {
                ++count;
            }
            data.push_back(static_cast<std::uint8_t>(count));
            data.push_back(static_cast<std::uint8_t>(bits == 4 ? index << 4 | index : index));
            x += count;
        }
        if (drawnRows == Rows || y + 1 < drawnRows) {
            data.insert(data.end(), {0, 0});
        }
    }
    data.insert(data.end(), {0, 1});
    return data;
}

std::uint32_t readLe32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

QImage decoded(const Bytes& bytes) {
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")
        .convertToFormat(QImage::Format_RGB32);
}

QRgb rgbOf(Pixel pixel) {
    return qRgb(pixel.red, pixel.green, pixel.blue);
}

// Whether `grown` is `original` with one run of bytes inserted somewhere.
bool isOneInsertionInto(const Bytes& original, const Bytes& grown) {
    const auto prefix =
        std::mismatch(original.begin(), original.end(), grown.begin()).first - original.begin();
    const auto suffix =
        std::mismatch(original.rbegin(), original.rend(), grown.rbegin()).first - original.rbegin();
    return grown.size() > original.size() &&
           prefix + suffix >= static_cast<std::ptrdiff_t>(original.size());
}

} // namespace

// Icons and strips, RLE8 and RLE4, the row added at the top or the bottom, compressed data
// that draws every row or ends early: Qt reads 16 rows, the new one in the fill colour and the
// others as they were (magenta recoloured); the compressed data is the old one with the new
// row's codes inserted, and the sizes in the header follow. A colour table that lacks the fill
// colour gets it as a new entry.
TEST(CompressedGrowth, GrowsInItsOwnCompressionAsAnotherReaderSeesIt) {
    for (const int bits : {8, 4}) {
        for (const int width : {16, 48}) {
            for (const int drawnRows : {Rows, 10}) {
                for (const Growth growth : {Growth::Top, Growth::Bottom}) {
                    SCOPED_TRACE(testing::Message()
                                 << bits << "-bit, " << width << " wide, " << drawnRows
                                 << " rows drawn, " << (growth == Growth::Top ? "top" : "bottom"));
                    // The strip has no green in its table and no magenta among its pixels.
                    const bool strip = width > 16;
                    const std::vector<Pixel> palette =
                        strip ? std::vector{Grey, Navy} : std::vector{Magenta, Grey, Navy};
                    const BmpRecipe recipe{
                        .width = width,
                        .height = Rows,
                        .bitCount = bits,
                        .compression = bits == 8 ? 1u : 2u,
                        .palette = palette,
                        .pixels = compressedRows(bits, width, static_cast<int>(palette.size()),
                                                 drawnRows)};
                    const Bytes original = makeBmp(recipe);
                    const ConversionRequest request{.pairs = {{Rgb{255, 0, 255}, Rgb{12, 200, 40}}},
                                                    .growth = growth,
                                                    .everyKind = true};
                    Bytes grown;
                    const auto result = convertFile(
                        MemorySource(original), request, [&](std::span<const std::uint8_t> part) {
                            grown.insert(grown.end(), part.begin(), part.end());
                        });
                    EXPECT_TRUE(result.grown);

                    const QImage before = decoded(original);
                    const QImage after = decoded(grown);
                    ASSERT_EQ(before.size(), QSize(width, Rows));
                    ASSERT_EQ(after.size(), QSize(width, Rows + 1));
                    const int newRow = growth == Growth::Top ? 0 : Rows;
                    const int firstOld = growth == Growth::Top ? 1 : 0;
                    // Rows the data leaves undrawn have no colour of their own: each reader
                    // (and each run of one) gives them what it likes.
                    const int firstDrawn = Rows - drawnRows;
                    for (int x = 0; x < width; ++x) {
                        ASSERT_EQ(after.pixel(x, newRow), rgbOf(Green)) << x;
                        for (int y = firstDrawn; y < Rows; ++y) {
                            const QRgb was = before.pixel(x, y);
                            ASSERT_EQ(after.pixel(x, firstOld + y),
                                      was == rgbOf(Magenta) ? rgbOf(Green) : was)
                                << x << ", " << y;
                        }
                    }

                    const std::size_t oldStart = pixelOffsetOf(recipe);
                    const std::size_t newStart = oldStart + (strip ? 4 : 0);
                    EXPECT_TRUE(
                        isOneInsertionInto(Bytes(original.begin() + oldStart, original.end()),
                                           Bytes(grown.begin() + newStart, grown.end())));
                    EXPECT_EQ(readLe32(grown, 2), grown.size());
                    EXPECT_EQ(readLe32(grown, 10), newStart);
                    EXPECT_EQ(readLe32(grown, 22), 16u);
                    EXPECT_EQ(readLe32(grown, 34), grown.size() - newStart);
                }
            }
        }
    }
}

} // namespace pixtint
