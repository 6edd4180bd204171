// SPDX-License-Identifier: MIT
// A colour turned transparent, as an independent reader (Qt's) decodes the result: every kind
// of picture, growth and tolerance, pixel by pixel, alpha and colour.

#include "conversion/FileConversion.h"
#include "engine/BmpHeader.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <string>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

constexpr Rgb Key{255, 0, 255};
constexpr Rgb NearKey{250, 5, 250};
struct Size {
    int width;
    int height;
};
constexpr Size Small{13, 5}; // odd: padded rows, a part-filled byte of 1- and 4-bit pixels
constexpr Size Icon{16, 15}; // the size a picture grows from
constexpr std::array<std::uint32_t, 4> WithoutAlpha{0xFF0000, 0xFF00, 0xFF, 0};

const std::vector<Pixel> Colours = {{255, 0, 255}, {250, 5, 250}, {200, 10, 10}, {90, 90, 90}};

Bytes converted(const Bytes& file, const ConversionRequest& request) {
    Bytes bytes;
    convertFile(MemorySource(file), request, [&](std::span<const std::uint8_t> part) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    });
    return bytes;
}

QImage decoded(const Bytes& bytes) {
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
}

Rgb colourOf(QRgb pixel) {
    return {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
            static_cast<std::uint8_t>(qBlue(pixel))};
}

ConversionRequest toTransparent(Rgb from, std::uint8_t tolerance = 0,
                                Growth growth = Growth::None) {
    return {
        .pairs = {{from, {}, true}}, .growth = growth, .tolerance = tolerance, .everyKind = true};
}

// Which of Colours the pixel at column x of picture row y (0 = top) has.
int indexAt(int x, int y, int bits) {
    const int index = (3 * x + y) % 4;
    return bits == 1 ? index % 2 : index;
}

// The resolution fields of a header that has them, which the result keeps.
Bytes withResolution(Bytes picture) {
    if (picture[14] >= 40) {
        BmpHeader::writeInt32(picture.data(), 38, 2835);
        BmpHeader::writeInt32(picture.data(), 42, 3780);
    }
    return picture;
}

Bytes colourPicture(int bits, std::uint32_t header, bool topDown, std::uint32_t compression = 0,
                    std::array<std::uint32_t, 4> masks = WithoutAlpha, Size size = Small) {
    BmpRecipe recipe{.width = size.width,
                     .height = topDown ? -size.height : size.height,
                     .bitCount = bits,
                     .headerSize = header,
                     .compression = compression};
    std::copy(masks.begin(), masks.end(), recipe.masks);
    recipe.pixels =
        storedRows(bits, topDown, size.width, size.height, [&](Bytes& row, int x, int y) {
            const Pixel& c = Colours[indexAt(x, y, bits)];
            if (bits == 24 || masks[0] == 0xFF0000) {
                row.insert(row.end(), {c.blue, c.green, c.red});
                if (bits == 32) {
                    row.push_back(masks[3] != 0 ? 0xFF : 0x5A); // opaque, or a byte no one reads
                }
                return;
            }
            // Channels four bits up from whole bytes.
            const std::uint32_t value = std::uint32_t{c.red} << 20 | std::uint32_t{c.green} << 12 |
                                        std::uint32_t{c.blue} << 4;
            for (int i = 0; i < 4; ++i) {
                row.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            }
        });
    return withResolution(makeBmp(recipe));
}

Bytes palettePicture(int bits, std::uint32_t header = 40) {
    BmpRecipe recipe{
        .width = Small.width, .height = Small.height, .bitCount = bits, .headerSize = header};
    recipe.palette.assign(Colours.begin(), Colours.begin() + (bits == 1 ? 2 : 4));
    if (header == 12) { // no count of entries: a full table
        recipe.palette.resize(std::size_t{1} << bits);
    }
    recipe.pixels =
        storedRows(bits, false, Small.width, Small.height, [&](Bytes& row, int x, int y) {
            appendIndex(row, x, bits, indexAt(x, y, bits));
        });
    return withResolution(makeBmp(recipe));
}

// Runs of one pixel, a literal run of three, a row that ends early and one that starts with
// a move: the two pixels skipped take the colour table's first entry, the key.
Bytes rlePicture(int bits, Size size = Small) {
    BmpRecipe recipe{.width = size.width,
                     .height = size.height,
                     .bitCount = bits,
                     .compression = bits == 8 ? 1u : 2u};
    recipe.palette = Colours;
    Bytes& data = recipe.pixels;
    for (int stored = 0; stored < size.height; ++stored) {
        const int y = size.height - 1 - stored;
        int x = 0;
        if (stored == 0) {
            data.insert(data.end(), {0, 3});
            for (; x < 3; ++x) {
                appendIndex(data, bits == 8 ? 0 : x, bits, indexAt(x, y, bits));
            }
            data.resize(data.size() + (bits == 8 ? 1 : 0)); // literals end on a 16-bit boundary
        }
        if (stored == 2) {
            data.insert(data.end(), {0, 2, 1, 0});
            x = 1;
        }
        for (; x < size.width - (stored == 1 ? 1 : 0); ++x) {
            const int index = indexAt(x, y, bits);
            data.insert(data.end(), {1, static_cast<std::uint8_t>(bits == 8 ? index : index << 4)});
        }
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    return withResolution(makeBmp(recipe));
}

// What the picture shows before the conversion. Qt leaves the two pixels an RLE picture of
// rlePicture skips unset, whatever its memory held: they are the key.
QImage shownBefore(const Bytes& picture, Size size = Small) {
    QImage image = decoded(picture).convertToFormat(QImage::Format_ARGB32);
    if (picture[14] >= 40 && (picture[30] == 1 || picture[30] == 2)) {
        image.setPixel(size.width - 1, size.height - 2, qRgb(Key.red, Key.green, Key.blue));
        image.setPixel(0, size.height - 3, qRgb(Key.red, Key.green, Key.blue));
    }
    return image;
}

struct Kind {
    std::string name;
    Bytes picture;
    bool keepsLayout = false; // 32-bit with an alpha mask
};

std::vector<Kind> everyKind() {
    return {
        {"24-bit", colourPicture(24, 40, false)},
        {"24-bit top-down", colourPicture(24, 40, true)},
        {"24-bit, V5 header", colourPicture(24, 124, false)},
        {"24-bit, OS/2 header", colourPicture(24, 12, false)},
        {"8-bit palette", palettePicture(8)},
        {"4-bit palette", palettePicture(4)},
        {"1-bit palette", palettePicture(1)},
        {"8-bit palette, OS/2 header", palettePicture(8, 12)},
        {"RLE8", rlePicture(8)},
        {"RLE4", rlePicture(4)},
        {"32-bit without masks", colourPicture(32, 40, false)},
        {"32-bit top-down", colourPicture(32, 40, true)},
        {"32-bit bit fields without alpha", colourPicture(32, 40, false, 3)},
        {"32-bit channels between bytes",
         colourPicture(32, 124, false, 3, {0x0FF00000, 0x000FF000, 0x00000FF0, 0})},
        {"32-bit with alpha",
         colourPicture(32, 124, false, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}), true},
        {"32-bit with alpha top-down",
         colourPicture(32, 108, true, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}), true},
    };
}

// Whether no channel of `colour` is further than `tolerance` from `key`'s: the rule the user
// is promised, written out here rather than asked of the program.
bool withinTolerance(Rgb colour, Rgb key, int tolerance) {
    return std::abs(colour.red - key.red) <= tolerance &&
           std::abs(colour.green - key.green) <= tolerance &&
           std::abs(colour.blue - key.blue) <= tolerance;
}

// Every pixel within the tolerance of the key is transparent; every other one keeps its colour
// and alpha.
void expectTransparentWhereMatched(const QImage& before, const QImage& after, Rgb key,
                                   int tolerance = 0, int rowShift = 0) {
    ASSERT_TRUE(after.hasAlphaChannel());
    int transparent = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QRgb was = before.pixel(x, y);
            const QRgb is = after.pixel(x, y + rowShift);
            if (withinTolerance(colourOf(was), key, tolerance)) {
                ASSERT_EQ(qAlpha(is), 0) << x << ", " << y;
                ++transparent;
            } else {
                ASSERT_EQ(qAlpha(is), qAlpha(was)) << x << ", " << y;
                ASSERT_EQ(colourOf(is), colourOf(was)) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(transparent, 0);
}

void expectV5Header(const Bytes& before, const Bytes& after, std::uint32_t rows) {
    const auto field = [&](std::size_t at) {
        return BmpHeader::readUnsigned(after.data(), at, 4);
    };
    EXPECT_EQ(after[0], 'B');
    EXPECT_EQ(field(2), after.size());
    EXPECT_EQ(field(10), 138u);
    EXPECT_EQ(field(14), 124u);
    EXPECT_EQ(field(18), static_cast<std::uint32_t>(Small.width));
    const bool topDown = BmpHeader::readInt32(before.data(), 22) < 0 && before[14] != 12;
    EXPECT_EQ(BmpHeader::readInt32(after.data(), 22),
              topDown ? -static_cast<std::int32_t>(rows) : static_cast<std::int32_t>(rows));
    EXPECT_EQ(field(26) & 0xFFFF, 1u);
    EXPECT_EQ(field(28) & 0xFFFF, 32u);
    EXPECT_EQ(field(30), 3u);
    EXPECT_EQ(field(34), Small.width * 4 * rows);
    EXPECT_EQ(after.size(), 138 + Small.width * 4 * rows);
    if (before[14] >= 40) {
        EXPECT_EQ(field(38), 2835u);
        EXPECT_EQ(field(42), 3780u);
    }
    EXPECT_EQ(field(54), 0x00FF0000u);
    EXPECT_EQ(field(58), 0x0000FF00u);
    EXPECT_EQ(field(62), 0x000000FFu);
    EXPECT_EQ(field(66), 0xFF000000u);
}

} // namespace

TEST(TransparencyDecoded, EveryKindTurnsItsMatchedPixelsTransparentAndNothingElse) {
    for (const std::uint8_t tolerance : {0, 5}) {
        for (const Kind& kind : everyKind()) {
            SCOPED_TRACE(kind.name + ", tolerance " + std::to_string(tolerance));
            const QImage before = shownBefore(kind.picture);
            ASSERT_FALSE(before.isNull());
            const Bytes after = converted(kind.picture, toTransparent(Key, tolerance));
            expectTransparentWhereMatched(before, decoded(after), Key, tolerance);
            if (kind.keepsLayout) {
                const auto head = static_cast<std::ptrdiff_t>(
                    BmpHeader::readUnsigned(kind.picture.data(), 10, 4));
                ASSERT_EQ(after.size(), kind.picture.size());
                EXPECT_TRUE(std::equal(after.begin(), after.begin() + head, kind.picture.begin()));
            } else {
                expectV5Header(kind.picture, after, Small.height);
            }
        }
    }
}

TEST(TransparencyDecoded, AGrownIconGetsATransparentRowOrTheFirstPairsColour) {
    for (const auto& [name, picture] :
         {std::pair{"24-bit", colourPicture(24, 40, false, 0, WithoutAlpha, Icon)},
          std::pair{"24-bit top-down", colourPicture(24, 40, true, 0, WithoutAlpha, Icon)},
          std::pair{"RLE8", rlePicture(8, Icon)}}) {
        for (const bool top : {true, false}) {
            for (const bool keyFirst : {true, false}) {
                SCOPED_TRACE(std::string(name) + (top ? ", top" : ", bottom") +
                             (keyFirst ? "" : ", a colour first"));
                ConversionRequest request =
                    toTransparent(Key, 0, top ? Growth::Top : Growth::Bottom);
                if (!keyFirst) {
                    request.pairs.insert(request.pairs.begin(), {Rgb{1, 2, 3}, Rgb{0, 128, 0}});
                }
                const QImage before = shownBefore(picture, Icon);
                const QImage after = decoded(converted(picture, request));
                ASSERT_EQ(after.height(), 16);
                const int newRow = top ? 0 : 15;
                for (int x = 0; x < 16; ++x) {
                    const QRgb pixel = after.pixel(x, newRow);
                    EXPECT_EQ(qAlpha(pixel), keyFirst ? 0 : 255);
                    if (!keyFirst) {
                        EXPECT_EQ(colourOf(pixel), (Rgb{0, 128, 0}));
                    }
                }
                expectTransparentWhereMatched(before, after, Key, 0, top ? 1 : 0);
            }
        }
    }
}

} // namespace pixtint
