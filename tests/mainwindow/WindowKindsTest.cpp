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

// Rows of `width` palette indices alternating 0 and 1, packed at `bits` a pixel.
Bytes alternatingIndices(int width, int height, int bits) {
    Bytes rows(strideFor(width, bits) * static_cast<std::size_t>(std::abs(height)), 0);
    const std::size_t stride = strideFor(width, bits);
    for (std::size_t row = 0; row * stride < rows.size(); ++row) {
        for (int x = 1; x < width; x += 2) {
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            rows[row * stride + bit / 8] |= static_cast<std::uint8_t>(1u << (8 - bits - bit % 8));
        }
    }
    return rows;
}

// 15 rows of 16 pixels, each row one encoded run of indices 0 and 1 (RLE4 takes the pair from
// one byte), then the end of the picture.
Bytes rleRows(bool fourBits) {
    Bytes data;
    for (int row = 0; row < 15; ++row) {
        data.insert(data.end(), {16, static_cast<std::uint8_t>(fourBits ? 0x01 : 1), 0, 0});
    }
    data.insert(data.end(), {0, 1});
    return data;
}

Bytes fourBytePixels(int width, int height, std::array<std::uint8_t, 4> pixel) {
    Bytes rows;
    for (int i = 0; i < width * std::abs(height); ++i) {
        rows.insert(rows.end(), pixel.begin(), pixel.end());
    }
    return rows;
}

// A 16 x 15 picture of four-byte pixels, laid out by `header` bytes and `compression`.
Bytes fourBytePicture(std::uint32_t headerSize, std::uint32_t compression,
                      std::array<std::uint8_t, 4> pixel) {
    BmpRecipe recipe;
    recipe.bitCount = 32;
    recipe.headerSize = headerSize;
    recipe.compression = compression;
    recipe.pixels = fourBytePixels(16, 15, pixel);
    return makeBmp(recipe);
}

BmpRecipe palettePicture(int width, int bits, std::vector<Pixel> palette) {
    BmpRecipe recipe;
    recipe.width = width;
    recipe.bitCount = bits;
    recipe.palette = std::move(palette);
    recipe.pixels = alternatingIndices(width, 15, bits);
    return recipe;
}

// 16 x 15 palette pictures compressed with RLE8 (1) or RLE4 (2).
Bytes rlePicture(int bits, std::vector<Pixel> palette) {
    BmpRecipe recipe;
    recipe.bitCount = bits;
    recipe.compression = bits == 8 ? 1 : 2;
    recipe.palette = std::move(palette);
    recipe.pixels = rleRows(bits == 4);
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
    BmpRecipe fields;
    fields.bitCount = 32;
    fields.compression = 3;
    std::copy_n(std::array<std::uint32_t, 4>{0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF}.data(),
                4, fields.masks);
    fields.pixels = fourBytePixels(16, 15, {0x80, 0, 0, 0xFF});
    files["fields32.bmp"] = makeBmp(fields);
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

// A strip of `width` pixels, 15 rows, whose pixel at (x, y) (y = 0 at the top) draws entry
// (x + 2y) % palette size, stored bottom-up.
BmpRecipe patternedStrip(int width, int bits, std::vector<Pixel> palette) {
    BmpRecipe recipe = palettePicture(width, bits, std::move(palette));
    const std::size_t stride = strideFor(width, bits);
    std::fill(recipe.pixels.begin(), recipe.pixels.end(), 0);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto index = static_cast<unsigned>((x + 2 * y) % recipe.palette.size());
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            recipe.pixels[(14 - y) * stride + bit / 8] |=
                static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
        }
    }
    return recipe;
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
    for (const BmpRecipe& strip : {patternedStrip(96, 4, {Blue, White, Green, Black}),
                                   patternedStrip(128, 8, {White, Blue, Green, Black, Red})}) {
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
    const QImage odd = convertedAndDecoded(makeBmp(patternedStrip(100, 8, {Blue})), Growth::Top);
    EXPECT_EQ(odd.size(), QSize(100, 15));
}

// A full palette has no entry for the new row's colour: the batch says so, naming the file,
// marks it "NG", and leaves the file and its earlier backup as they were.
TEST_F(WindowKinds, AFullPaletteThatCannotGrowIsNotTouched) {
    const Bytes full = makeBmp(palettePicture(16, 1, {Green, White})); // no red, nor blue
    const Bytes olderBackup = makeBmp24(2, 2, Green);
    pictures.write("a.bmp", makeBmp24(16, 15, Blue));
    pictures.write("full.bmp", full);
    pictures.write("full.bak", olderBackup);
    startBlueToRed();
    ASSERT_EQ(listing(), QStringList({"a.bmp BMP ticked", "full.bmp BMP ticked"}));
    convertAndWait();
    EXPECT_EQ(listing(), QStringList({"a.bmp OK ticked", "full.bmp NG ticked"}));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "変換エラー");
    EXPECT_TRUE(dialogs.messages[0].text.contains("full.bmp"))
        << dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(dialogs.messages[0].text.contains("パレット")) << "the reason";
    EXPECT_EQ(pictures.read("full.bmp"), full);
    EXPECT_EQ(pictures.read("full.bak"), olderBackup);
}

// What the conversion refuses stays unconvertible and the status bar says why; the picture is
// shown when Qt can read it.
TEST_F(WindowKinds, RefusedKindsSayWhyInTheStatusBar) {
    pictures.write("a16.bmp", makeBmpWithBitCount(16, 15, 16));
    BmpRecipe jpeg;
    jpeg.compression = 4;
    jpeg.pixels = Bytes(16, 0xFF);
    pictures.write("b-jpeg.bmp", makeBmp(jpeg));
    pictures.write("c-short.bmp", {'B', 'M', 0, 0});
    pictures.write("d-nobm.bmp", Bytes(64, 0));
    startBlueToRed();
    EXPECT_EQ(listing(), QStringList({"a16.bmp NoChg", "b-jpeg.bmp NoChg", "c-short.bmp NoChg",
                                      "d-nobm.bmp NoChg"}));
    const QStringList reasons{"16ビット画像は変換できません",
                              "BMP に埋め込まれた JPEG 画像は変換できません",
                              "壊れた BMP ファイルです", "BMP ファイルではありません"};
    for (int row = 0; row < fileList()->count(); ++row) {
        show(row);
        EXPECT_EQ(statusText(StatusBar::Field::Dimensions), reasons[row]);
        EXPECT_FALSE(statusText(StatusBar::Field::Path).isEmpty());
        EXPECT_TRUE(picture(Side::After).isNull());
    }
    show(0);
    EXPECT_EQ(picture(Side::Before).size(), QSize(16, 15)) << "Qt reads 16-bit pictures";
    EXPECT_TRUE(dialogs.messages.empty());
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

// A colour chosen shows in the after image at once, and nothing is written.
TEST_F(WindowKinds, TheAfterImageFollowsAColourChange) {
    pictures.write("p4.bmp", makeBmp(palettePicture(16, 4, {Blue, White})));
    startBlueToRed();
    const auto afterPixelShown = [this] {
        const QImage shown = image(Side::After)->grab().toImage();
        return shown.pixelColor(0, shown.height() - 1); // the bottom row's first pixel: blue before
    };
    EXPECT_EQ(afterPixelShown(), QColor(255, 0, 0));
    dialogs.colourAnswers.push_back(QColor(0, 128, 0));
    colourDialogButton(Side::After)->click();
    EXPECT_EQ(afterPixelShown(), QColor(0, 128, 0));
    dialogs.buttonColourDialog = [](QWidget*) {
        return std::optional<std::int32_t>(0x00FFFF);
    };
    buttonColourButton(Side::After)->click();
    EXPECT_EQ(afterPixelShown(), QColor(255, 255, 0));
    EXPECT_EQ(pictures.names(), std::vector<std::string>{"p4.bmp"});
}

} // namespace pixtint
