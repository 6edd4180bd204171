// SPDX-License-Identifier: MIT
#include "conversion/FileConversion.h"
#include "filesafety/FileByteSource.h"
#include "tests/cli/ConvertProgram.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <QTest>
#include <filesystem>
#include <map>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

constexpr Pixel White{255, 255, 255};
constexpr Pixel Black{0, 0, 0};

// Rows of 15 pixels whose pixel at (x, y) (y = 0 at the top) draws entry (x + 2y) % `entries`,
// packed at `bits` a pixel and stored bottom-up: two entries alternate along each row.
Bytes patternedRows(int width, int bits, std::size_t entries) {
    const std::size_t stride = strideFor(width, bits);
    Bytes rows(stride * 15, 0);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto index = static_cast<unsigned>((x + 2 * y) % entries);
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            rows[(14 - y) * stride + bit / 8] |=
                static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
        }
    }
    return rows;
}

// A 16 x 15 picture of four-byte pixels, laid out by `header` bytes, `compression` and `masks`
// (red, green, blue, alpha).
Bytes fourBytePicture(std::uint32_t headerSize, std::uint32_t compression,
                      std::array<std::uint8_t, 4> pixel,
                      std::array<std::uint32_t, 4> masks = {0x00FF0000, 0x0000FF00, 0x000000FF,
                                                            0xFF000000}) {
    BmpRecipe recipe;
    recipe.bitCount = 32;
    recipe.headerSize = headerSize;
    recipe.compression = compression;
    std::copy(masks.begin(), masks.end(), recipe.masks);
    for (int i = 0; i < 16 * 15; ++i) {
        recipe.pixels.insert(recipe.pixels.end(), pixel.begin(), pixel.end());
    }
    return makeBmp(recipe);
}

BmpRecipe palettePicture(int width, int bits, std::vector<Pixel> palette) {
    BmpRecipe recipe;
    recipe.width = width;
    recipe.bitCount = bits;
    recipe.palette = std::move(palette);
    recipe.pixels = patternedRows(width, bits, recipe.palette.size());
    return recipe;
}

// 16 x 15 palette pictures compressed with RLE8 (1) or RLE4 (2): each row one encoded run of
// 16 pixels of byte 1 (index 1, or indices 0 and 1 in turn), then the end of the picture.
Bytes rlePicture(int bits, std::vector<Pixel> palette) {
    BmpRecipe recipe;
    recipe.bitCount = bits;
    recipe.compression = bits == 8 ? 1 : 2;
    recipe.palette = std::move(palette);
    for (int row = 0; row < 15; ++row) {
        recipe.pixels.insert(recipe.pixels.end(), {16, 1, 0, 0});
    }
    recipe.pixels.insert(recipe.pixels.end(), {0, 1});
    return makeBmp(recipe);
}

// Toolbar bitmaps of every kind the conversion takes, each holding blue pixels: 16 x 15
// icons, which grow, and strips of them.
std::map<std::string, Bytes> everyKind() {
    std::map<std::string, Bytes> files;
    files["rgb24.bmp"] = makeBmp24(16, 15, Blue);
    files["p1.bmp"] = makeBmp(palettePicture(16, 1, {Blue, White}));
    files["p4.bmp"] = makeBmp(palettePicture(16, 4, {Blue, Green, White, Black}));
    files["p8.bmp"] = makeBmp(palettePicture(16, 8, {Green, Blue}));
    files["rle8.bmp"] = rlePicture(8, {Green, Blue});
    files["rle4.bmp"] = rlePicture(4, {Blue, White});
    files["rgb32.bmp"] = fourBytePicture(40, 0, {0xFF, 0, 0, 0x80}); // blue, green, red, unused
    // Channels in the other byte order: the unused byte lowest, blue highest.
    files["fields32.bmp"] = fourBytePicture(40, 3, {0x80, 0, 0, 0xFF},
                                            {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF});
    BmpRecipe v4 = palettePicture(16, 8, {Blue, White});
    v4.headerSize = 108;
    files["v4.bmp"] = makeBmp(v4);
    files["v5.bmp"] = fourBytePicture(124, 3, {0xFF, 0, 0, 0xFF});
    BmpRecipe topDown = palettePicture(16, 8, {White, Blue});
    topDown.height = -15;
    files["topdown.bmp"] = makeBmp(topDown);
    BmpRecipe os2 = palettePicture(16, 8, {Blue, Green});
    os2.headerSize = 12;
    files["os2.bmp"] = makeBmp(os2);
    // Headers Qt's reader does not know: 16-byte OS/2, 56-byte, and alpha bit fields.
    std::vector<Pixel> fullTable(256, White); // a 16-byte header cannot count its colours
    fullTable[0] = Blue;
    BmpRecipe os2v2 = palettePicture(16, 8, fullTable);
    os2v2.headerSize = 16;
    files["os2v2.bmp"] = makeBmp(os2v2);
    files["v3.bmp"] = fourBytePicture(56, 3, {0xFF, 0, 0, 0xFF});
    files["alphafields.bmp"] = fourBytePicture(40, 6, {0xFF, 0, 0, 0x40});
    files["strip4.bmp"] = makeBmp(palettePicture(96, 4, {Blue, White}));
    files["strip8.bmp"] = makeBmp(palettePicture(128, 8, {White, Blue}));
    return files;
}

QImage convertedAndDecoded(const Bytes& file, Growth growth) {
    const ConversionRequest request{
        .pairs = {{Rgb{0, 0, 255}, Rgb{255, 0, 0}}}, .growth = growth, .everyKind = true};
    TestFolder folder;
    folder.write("strip.bmp", file);
    Bytes converted;
    convertFile(FileByteSource(folder / "strip.bmp"), request,
                [&](std::span<const std::uint8_t> part) {
                    converted.insert(converted.end(), part.begin(), part.end());
                });
    return QImage::fromData(converted.data(), static_cast<int>(converted.size()), "BMP");
}

std::map<std::string, Bytes> contentsOf(const TestFolder& folder) {
    std::map<std::string, Bytes> contents;
    for (const std::string& name : folder.names()) {
        contents[name] = folder.read(name);
    }
    return contents;
}

} // namespace

using WindowKinds = MainWindowFixture;

// Every kind is listed convertible, previewed before and after without a word, and converted
// by the batch into the very bytes the command line writes for the same request, backups
// included.
TEST_F(WindowKinds, EveryKindIsConvertedAsTheCommandLineConvertsIt) {
    TestFolder reference;
    QStringList listed;
    for (const auto& [name, bytes] : everyKind()) {
        pictures.write(name, bytes);
        reference.write(name, bytes);
        listed << QString::fromStdString(name) + " BMP ticked";
    }
    startBlueToRed(); // grown at the top, with backups
    EXPECT_EQ(listing(), listed);
    for (int row = 0; row < fileList()->count(); ++row) {
        show(row);
        SCOPED_TRACE(fileList()->fileName(row));
        EXPECT_FALSE(picture(Side::Before).isNull());
        ASSERT_FALSE(picture(Side::After).isNull());
        EXPECT_EQ(picture(Side::After).pixelColor(0, 0).rgb(), qRgb(255, 0, 0)) << "the top row";
        EXPECT_TRUE(sizeFrame()->isEnabled()) << "an icon or a strip of them";
    }
    EXPECT_TRUE(dialogs.messages.empty()) << messageTexts().join('\n').toStdString();

    convertAndWait();
    ASSERT_EQ(messageTexts(), QStringList{"変換終了！"});
    const ProgramResult cli =
        runConvert({"--from", "blue", "--to", "red", "-g", "top", reference.path().string()});
    ASSERT_EQ(cli.exitStatus, 0) << cli.out << cli.err;
    EXPECT_EQ(contentsOf(pictures), contentsOf(reference));
    EXPECT_EQ(pictures.names().size(), 2 * listed.size()) << "each converted, with its backup";
}

// A strip of 16 x 15 buttons grows like one button: the new row in the new colour at the top
// or the bottom, every button's pixels where they were. Other widths keep their height.
TEST(ToolbarStrips, GrowAtTheTopOrTheBottomWithEveryButtonInPlace) {
    for (const BmpRecipe& strip : {palettePicture(96, 4, {Blue, White, Green, Black}),
                                   palettePicture(128, 8, {White, Blue, Green, Black, Red})}) {
        for (const Growth growth : {Growth::Top, Growth::Bottom}) {
            SCOPED_TRACE(strip.width * 10 + (growth == Growth::Top));
            const QImage grown = convertedAndDecoded(makeBmp(strip), growth);
            ASSERT_EQ(grown.size(), QSize(strip.width, 16));
            const int newRow = growth == Growth::Top ? 0 : 15;
            const int firstOwnRow = growth == Growth::Top ? 1 : 0;
            for (int x = 0; x < strip.width; ++x) {
                ASSERT_EQ(grown.pixel(x, newRow), qRgb(255, 0, 0)) << x;
                for (int y = 0; y < 15; ++y) {
                    const Pixel drawn = strip.palette[(x + 2 * y) % strip.palette.size()];
                    const bool blue = drawn.blue == 255 && drawn.red == 0 && drawn.green == 0;
                    const QRgb expected =
                        blue ? qRgb(255, 0, 0) : qRgb(drawn.red, drawn.green, drawn.blue);
                    ASSERT_EQ(grown.pixel(x, firstOwnRow + y), expected) << x << ',' << y;
                }
            }
        }
    }
    const QImage odd = convertedAndDecoded(makeBmp(palettePicture(100, 8, {Blue})), Growth::Top);
    EXPECT_EQ(odd.size(), QSize(100, 15));
}

// The pick takes the colour the pixel stands for: a palette entry, or a four-byte pixel's
// colour without its alpha, whatever the screen blends it into.
TEST_F(WindowKinds, APickTakesThePixelsOwnColour) {
    const Pixel moss{10, 200, 30};
    pictures.write("a.bmp", makeBmp(palettePicture(16, 8, {moss, moss})));
    pictures.write("b.bmp", fourBytePicture(124, 3, {30, 200, 10, 0x10}));
    startBlueToRed();
    for (const int row : {0, 1}) {
        show(row);
        pickButton(Side::Before)->click();
        PictureView* before = image(Side::Before);
        QCursor::setPos(before->mapToGlobal(before->rect().center()));
        QTest::mouseRelease(before, Qt::LeftButton, Qt::NoModifier, before->rect().center());
        EXPECT_EQ(swatch(Side::Before)->colourValue(), 0x001EC80A) << row;
        EXPECT_FALSE(window->picking());
    }
}

} // namespace pixtint
