// SPDX-License-Identifier: MIT
// A grown icon whose key colour turns transparent, as an independent reader (Qt's) decodes it.

#include "conversion/FileConversion.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

constexpr Rgb Key{255, 0, 255};
constexpr int Width = 16;
constexpr int Height = 15; // the size a picture grows from

const std::vector<Pixel> Colours = {{255, 0, 255}, {250, 5, 250}, {200, 10, 10}, {90, 90, 90}};

QImage decoded(const Bytes& bytes) {
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")
        .convertToFormat(QImage::Format_ARGB32);
}

// Which of Colours the pixel at column x of picture row y (0 = top) has.
int indexAt(int x, int y) {
    return (3 * x + y) % 4;
}

Bytes colourPicture(bool topDown) {
    BmpRecipe recipe{.width = Width, .height = topDown ? -Height : Height, .bitCount = 24};
    recipe.pixels = storedRows(24, topDown, Width, Height, [&](Bytes& row, int x, int y) {
        const Pixel& c = Colours[indexAt(x, y)];
        row.insert(row.end(), {c.blue, c.green, c.red});
    });
    return makeBmp(recipe);
}

// Runs of one pixel, and a literal run of three: RLE8 without skips.
Bytes rlePicture() {
    BmpRecipe recipe{.width = Width, .height = Height, .bitCount = 8, .compression = 1};
    recipe.palette = Colours;
    Bytes& data = recipe.pixels;
    for (int stored = 0; stored < Height; ++stored) {
        const int y = Height - 1 - stored;
        int x = 0;
        if (stored == 0) {
            data.insert(data.end(), {0, 3});
            for (; x < 3; ++x) {
                data.push_back(static_cast<std::uint8_t>(indexAt(x, y)));
            }
            data.push_back(0); // literals end on a 16-bit boundary
        }
        for (; x < Width; ++x) {
            data.insert(data.end(), {1, static_cast<std::uint8_t>(indexAt(x, y))});
        }
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    return makeBmp(recipe);
}

} // namespace

// The new row is transparent where the key is the first pair's colour, else that pair's TO
// colour; the key's pixels turn transparent and every other one keeps its colour.
TEST(TransparencyDecoded, AGrownIconGetsATransparentRowOrTheFirstPairsColour) {
    for (const auto& [name, picture] :
         {std::pair{"24-bit", colourPicture(false)},
          std::pair{"24-bit top-down", colourPicture(true)}, std::pair{"RLE8", rlePicture()}}) {
        for (const bool top : {true, false}) {
            for (const bool keyFirst : {true, false}) {
                SCOPED_TRACE(std::string(name) + (top ? ", top" : ", bottom") +
                             (keyFirst ? "" : ", a colour first"));
                ConversionRequest request{.pairs = {{Key, {}, true}},
                                          .growth = top ? Growth::Top : Growth::Bottom,
                                          .everyKind = true};
                if (!keyFirst) {
                    request.pairs.insert(request.pairs.begin(), {Rgb{1, 2, 3}, Rgb{0, 128, 0}});
                }
                Bytes converted;
                convertFile(MemorySource(picture), request,
                            [&](std::span<const std::uint8_t> part) {
                                converted.insert(converted.end(), part.begin(), part.end());
                            });
                const QImage after = decoded(converted);
                ASSERT_EQ(after.height(), 16);
                const int newRow = top ? 0 : 15;
                for (int x = 0; x < Width; ++x) {
                    const QRgb pixel = after.pixel(x, newRow);
                    EXPECT_EQ(keyFirst ? qAlpha(pixel) : pixel, keyFirst ? 0 : qRgb(0, 128, 0));
                }
                for (int y = 0; y < Height; ++y) {
                    for (int x = 0; x < Width; ++x) {
                        const Pixel& was = Colours[indexAt(x, y)];
                        const QRgb is = after.pixel(x, y + (top ? 1 : 0));
                        if (indexAt(x, y) == 0) {
                            ASSERT_EQ(qAlpha(is), 0) << x << ", " << y;
                        } else {
                            ASSERT_EQ(is, qRgb(was.red, was.green, was.blue)) << x << ", " << y;
                        }
                    }
                }
            }
        }
    }
}

} // namespace pixtint
