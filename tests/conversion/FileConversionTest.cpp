// SPDX-License-Identifier: MIT
#include "conversion/FileConversion.h"

#include "conversion/ConvertedPicture.h"
#include "conversion/Convertibility.h"
#include "engine/RowInsertion.h"
#include "filesafety/FileByteSource.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <climits>
#include <gtest/gtest.h>
#include <numeric>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

constexpr Rgb From{3, 2, 1};
constexpr Rgb To{9, 8, 7};
const ConversionRequest FromBecomesTo{{{From, To}}};

ConversionRequest everyKind(ConversionRequest request) {
    request.everyKind = true;
    return request;
}

// What convertFile hands on, read `chunk` bytes at a time.
Bytes converted(const ByteSource& source, const ConversionRequest& request,
                ConversionResult* result = nullptr, std::size_t chunk = ConversionChunkSize) {
    Bytes bytes;
    const ConversionResult made = convertFile(
        source, request,
        [&](std::span<const std::uint8_t> part) {
            bytes.insert(bytes.end(), part.begin(), part.end());
        },
        chunk);
    if (result != nullptr) {
        *result = made;
    }
    return bytes;
}

Bytes converted(const Bytes& file, const ConversionRequest& request,
                ConversionResult* result = nullptr) {
    return converted(MemorySource(file), request, result);
}

Bytes repeated(const Bytes& unit, std::size_t count) {
    Bytes bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes.insert(bytes.end(), unit.begin(), unit.end());
    }
    return bytes;
}

// Files larger than a read chunk: pixels cut by a chunk boundary must come out whole, and
// a preview that reads any range must see the same bytes as the stream.
TEST(ConversionOfOneFile, ChunkEdgesAndRandomReadsGiveTheSameBytes) {
    TestFolder folder;
    for (const int width : {1, 4, 5, 7, 1001}) {
        SCOPED_TRACE(width);
        const int height = 3 * 4096 / (width * 3) + 1;
        Bytes source = makeBmp24(width, height, Pixel{3, 2, 1});
        setPixel(source, 0, 0, Pixel{1, 1, 1});
        folder.write("big.bmp", source);
        Bytes expected = makeBmp24(width, height, Pixel{9, 8, 7});
        setPixel(expected, 0, 0, Pixel{1, 1, 1});
        const FileByteSource file(folder / "big.bmp");
        EXPECT_TRUE(converted(file, FromBecomesTo, nullptr, 100) == expected);
        EXPECT_TRUE(converted(file, FromBecomesTo) == expected);

        const ConvertedPicture picture(folder / "big.bmp", FromBecomesTo);
        ASSERT_EQ(picture.size(), expected.size());
        for (const std::size_t offset : {0, 53, 55, 56, 1000, 4095}) {
            Bytes part(std::min<std::size_t>(77, expected.size() - offset));
            EXPECT_EQ(picture.readAt(offset, part), part.size());
            EXPECT_TRUE(std::equal(part.begin(), part.end(), expected.begin() + offset)) << offset;
        }
    }
}

// The rows start at the pixel offset and end after |height| rows: a colour table before
// them and bytes after them stay, even where they look like the colour replaced.
TEST(ConversionOfOneFile, WalksTheRowsTheHeaderPlacesAndNothingElse) {
    const Bytes from{1, 2, 3, 0};
    for (const int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        const std::size_t size = static_cast<std::size_t>(bits / 8);
        const Bytes pixel(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(size));
        // 3 wide: 24-bit rows get 3 bytes of padding that look like the colour as well.
        const Bytes row = concat({repeated(pixel, 3), bits == 24 ? Bytes{1, 2, 3} : Bytes{}});
        BmpRecipe recipe{.width = 3,
                         .height = -2,
                         .bitCount = bits,
                         .headerSize = 124,
                         .gap = repeated(from, 64),
                         .pixels = repeated(row, 2),
                         .tail = repeated(from, 5)};
        const Bytes source = makeBmp(recipe);
        ConversionResult result;
        const Bytes out = converted(source, everyKind(FromBecomesTo), &result);
        const Bytes to = Bytes{7, 8, 9, 0};
        const Bytes newPixel(to.begin(), to.begin() + static_cast<std::ptrdiff_t>(size));
        recipe.pixels =
            repeated(concat({repeated(newPixel, 3), bits == 24 ? Bytes{1, 2, 3} : Bytes{}}), 2);
        EXPECT_EQ(out, makeBmp(recipe));
        EXPECT_EQ(result.counts.pixelsChanged(), 6u);
        EXPECT_EQ(result.format.bitsPerPixel, static_cast<unsigned>(bits));
        EXPECT_EQ(result.format.header, "V5");
    }
}

// A 16 x 15 picture whose rows are laid out otherwise: the new row goes where the top
// (bottom) row really is, the bytes after the rows follow it, and a V5 profile there moves
// with them. A 32-bit row takes, column by column, the fourth byte of the row it is added
// beside, whichever header holds the masks.
TEST(ConversionOfOneFile, GrowsWhereTheTopOrBottomRowReallyIs) {
    // Stored row `stored` in `colour`, a 32-bit one with a fourth byte that differs everywhere.
    const auto storedRow = [](int bits, int stored, const Bytes& colour) {
        Bytes row;
        for (int x = 0; x < 16; ++x) {
            row.insert(row.end(), colour.begin(), colour.end());
            if (bits == 32) {
                row.push_back(static_cast<std::uint8_t>(stored * 16 + x));
            }
        }
        return row;
    };
    const Bytes tail{'P', 'R', 'O', 'F'};
    for (const int bits : {24, 32}) {
        Bytes rows;
        for (int stored = 0; stored < 15; ++stored) {
            rows = concat(
                {rows, storedRow(bits, stored, {static_cast<std::uint8_t>(100 + stored), 0, 0})});
        }
        for (const std::uint32_t header : {40u, 108u, 124u}) {
            for (const int height : {15, -15}) {
                for (const bool top : {true, false}) {
                    SCOPED_TRACE(testing::Message()
                                 << bits << " " << header << " " << height << " " << top);
                    BmpRecipe recipe{.height = height,
                                     .bitCount = bits,
                                     .headerSize = header,
                                     .compression = bits == 32 ? 3u : 0u,
                                     .gap = {0, 0},
                                     .pixels = rows,
                                     .tail = tail};
                    Bytes source = makeBmp(recipe);
                    const auto profileAt = static_cast<std::uint32_t>(source.size() - 4 - 14);
                    if (header == 124) {
                        writeField(source, 14 + 112, 4, profileAt);
                    }
                    const bool atEnd = top == (height > 0);
                    const Bytes newRow = storedRow(bits, atEnd ? 14 : 0, {7, 8, 9});
                    BmpRecipe grownRecipe = recipe;
                    grownRecipe.height = height > 0 ? 16 : -16;
                    grownRecipe.pixels = atEnd ? concat({rows, newRow}) : concat({newRow, rows});
                    Bytes expected = makeBmp(grownRecipe);
                    if (header == 124) {
                        writeField(expected, 14 + 112, 4, profileAt + newRow.size());
                    }
                    const ConversionRequest grow{
                        {{Rgb{1, 1, 1}, To}}, top ? Growth::Top : Growth::Bottom, false, 0, true};
                    EXPECT_EQ(converted(source, grow), expected);
                }
            }
        }
    }
}

// A truncated picture is not grown, but its rows are still walked.
TEST(ConversionOfOneFile, ATruncatedPictureHasItsRowsWalked) {
    const Bytes icon = makeBmp24(16, 15, Pixel{3, 2, 1});
    const Bytes cut(icon.begin(), icon.end() - 1);
    // The last pixel, cut short, is left as it is.
    Bytes walked = makeBmp24(16, 15, Pixel{9, 8, 7});
    walked.pop_back();
    walked[walked.size() - 2] = 1;
    walked[walked.size() - 1] = 2;
    EXPECT_EQ(converted(cut, FromBecomesTo), walked);
}

// A palette picture changes in its table only: entries matched against the original table,
// the pixels drawn with them counted, near misses too.
TEST(ConversionOfOneFile, RecoloursPaletteEntriesAndCountsTheirPixels) {
    const std::vector<Pixel> palette{{3, 2, 1}, {9, 8, 7}, {50, 50, 50}, {3, 2, 9}, {3, 2, 1}};
    for (const std::uint32_t compression : {0u, 2u}) {
        SCOPED_TRACE(compression);
        // 4-bit, 4 x 2: entries 0 0 1 3 / 2 2 4 0.
        const Bytes pixels = compression == 0
                                 ? Bytes{0x00, 0x13, 0, 0, 0x22, 0x40, 0, 0}
                                 : Bytes{2, 0x00, 2, 0x13, 0, 0, 2, 0x22, 2, 0x40, 0, 1};
        BmpRecipe recipe{.width = 4,
                         .height = 2,
                         .bitCount = 4,
                         .compression = compression,
                         .palette = palette,
                         .pixels = pixels};
        ConversionResult result;
        const ConversionRequest swap{{{From, To}, {To, From}}, Growth::Top, false, 0, true,
                                     NearMisses::Counted};
        const Bytes out = converted(makeBmp(recipe), swap, &result);
        recipe.palette = {{9, 8, 7}, {3, 2, 1}, {50, 50, 50}, {3, 2, 9}, {9, 8, 7}};
        EXPECT_EQ(out, makeBmp(recipe));
        EXPECT_EQ(result.counts.pairs[0].entriesChanged, 2u);
        EXPECT_EQ(result.counts.pairs[0].pixelsChanged, 4u);
        EXPECT_EQ(result.counts.pairs[1].entriesChanged, 1u);
        EXPECT_EQ(result.counts.pairs[1].pixelsChanged, 1u);
        EXPECT_EQ(result.counts.nearMisses(), 1u); // entry 3: 8 from the FROM colour
        EXPECT_EQ(result.format.compression, compression == 0 ? "none" : "RLE4");
        EXPECT_FALSE(result.grown); // 4 x 2
    }
}

TEST(ConversionOfOneFile, GrowsAPalettePictureWithAnEntryOfTheNewColour) {
    const auto icon = [](std::vector<Pixel> palette, std::uint8_t pixels = 0) {
        return BmpRecipe{
            .bitCount = 4, .palette = std::move(palette), .pixels = Bytes(8 * 15, pixels)};
    };
    const ConversionRequest grow{{{From, To}}, Growth::Bottom, false, 0, true};
    // An entry holds the new colour once recoloured: the new row uses it.
    BmpRecipe recipe = icon({{1, 1, 1}, {3, 2, 1}}, 0x01);
    BmpRecipe expected = recipe;
    expected.palette[1] = {9, 8, 7};
    expected.height = 16;
    expected.pixels = concat({Bytes(8, 0x11), recipe.pixels});
    EXPECT_EQ(converted(makeBmp(recipe), grow), makeBmp(expected));
    // None does: one more entry, the pixel offset and the count of colours follow.
    recipe = icon({{1, 1, 1}});
    expected = recipe;
    expected.palette.push_back({9, 8, 7});
    expected.height = 16;
    expected.pixels = concat({Bytes(8, 0x11), recipe.pixels});
    EXPECT_EQ(converted(makeBmp(recipe), grow), makeBmp(expected));
}

// A full table lends the new row its last entry that no pixel draws, recoloured to the new
// colour; only a table whose every entry is drawn cannot grow.
TEST(ConversionOfOneFile, AFullPaletteGrowsThroughAnEntryNoPixelDraws) {
    const ConversionRequest grow{{{From, To}}, Growth::Top, false, 0, true};
    BmpRecipe recipe{.bitCount = 8, .pixels = Bytes(16 * 15, 0)};
    for (int i = 0; i < 256; ++i) {
        recipe.palette.push_back({static_cast<std::uint8_t>(i), 0, 0});
    }
    for (std::size_t i = 0; i < recipe.pixels.size(); ++i) {
        recipe.pixels[i] = static_cast<std::uint8_t>(i % 250); // 250 to 255 draw nothing
    }
    ConversionResult result;
    const Bytes out = converted(makeBmp(recipe), grow, &result);
    BmpRecipe expected = recipe;
    expected.palette[255] = {9, 8, 7};
    expected.height = 16;
    expected.pixels = concat({recipe.pixels, Bytes(16, 255)});
    EXPECT_EQ(out, makeBmp(expected));
    EXPECT_TRUE(result.grown);
    EXPECT_EQ(result.counts.entriesChanged(), 0u);

    const BmpRecipe everyEntryDrawn{
        .bitCount = 1, .palette = {{1, 1, 1}, {2, 2, 2}}, .pixels = Bytes(4 * 15, 0x0f)};
    const auto error = errorOf([&] { converted(makeBmp(everyEntryDrawn), grow); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ErrorKind::NoPaletteRoom);
}

TEST(ConversionOfOneFile, OnlyTheCommandLineConvertsPaletteAnd32BitPictures) {
    const Bytes palette = makeBmp(
        {.width = 2, .height = 1, .bitCount = 8, .palette = {{3, 2, 1}}, .pixels = {0, 0, 0, 0}});
    const auto error = errorOf([&] { converted(palette, FromBecomesTo); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ErrorKind::Unsupported);
    EXPECT_EQ(error->detail(), "8-bit picture");
    EXPECT_EQ(converted(palette, everyKind(FromBecomesTo)), makeBmp({.width = 2,
                                                                     .height = 1,
                                                                     .bitCount = 8,
                                                                     .palette = {{9, 8, 7}},
                                                                     .pixels = {0, 0, 0, 0}}));
}

// Bad headers, or a truncated picture asked to grow, fail before any byte is handed on.
TEST(ConversionOfOneFile, BadHeadersFailBeforeAnyByteIsHandedOn) {
    const auto sized = [](std::size_t length, std::int32_t width) {
        Bytes bytes = makeBmp24(1, 1, Pixel{});
        bytes.resize(length, 1);
        writeField(bytes, 18, 4, static_cast<std::uint32_t>(width));
        return bytes;
    };
    const Bytes icon = makeBmp24(16, 15, Pixel{3, 2, 1});
    const struct {
        Bytes bytes;
        ErrorKind error;
        ConversionRequest request = FromBecomesTo;
    } failures[] = {{sized(25, 1), ErrorKind::TooShort},
                    {sized(100, 0), ErrorKind::InvalidWidth},
                    {sized(100, INT_MIN), ErrorKind::InvalidWidth},
                    {sized(54, 16), ErrorKind::NoPixels},
                    {Bytes(icon.begin(), icon.end() - 1), ErrorKind::Truncated,
                     ConversionRequest{{{From, To}}, Growth::Top}}};
    TestFolder folder;
    for (const auto& [bytes, error, request] : failures) {
        folder.write("f.bmp", bytes);
        bool handedOn = false;
        EXPECT_EQ(errorKindOf([&] {
                      convertFile(FileByteSource(folder / "f.bmp"), request,
                                  [&](std::span<const std::uint8_t>) { handedOn = true; });
                  }),
                  error);
        EXPECT_FALSE(handedOn);
        EXPECT_EQ(errorKindOf([&] { ConvertedPicture(folder / "f.bmp", request); }), error);
    }
}

// Nothing but byte 28 counts for the list; a file taken whatever its name must also start
// with "BM".
TEST(ConversionOfOneFile, TwentyFourBitTestLooksAtByte28AndTheSignature) {
    TestFolder folder;
    Bytes bytes(54, 0xAA);
    bytes[28] = 24;
    folder.write("plain.bmp", bytes);
    bytes[0] = 'B';
    folder.write("half-signed.bmp", bytes);
    bytes[1] = 'M';
    folder.write("signed.bmp", bytes);
    folder.write("short.bmp", Bytes(28, 24));
    std::filesystem::create_directory(folder / "sub.bmp");
    EXPECT_TRUE(isBitmap24Bit(folder / "plain.bmp"));
    EXPECT_FALSE(isSignedBitmap24Bit(folder / "plain.bmp"));
    EXPECT_FALSE(isSignedBitmap24Bit(folder / "half-signed.bmp"));
    EXPECT_TRUE(isSignedBitmap24Bit(folder / "signed.bmp"));
    EXPECT_TRUE(isSignedBitmap(FileByteSource(folder / "signed.bmp")));
    EXPECT_FALSE(isSignedBitmap(FileByteSource(folder / "plain.bmp")));
    EXPECT_EQ(errorKindOf([&] { isBitmap24Bit(folder / "short.bmp"); }), ErrorKind::TooShort);
    EXPECT_EQ(errnoOf([&] { isBitmap24Bit(folder / "sub.bmp"); }), EISDIR);
    EXPECT_EQ(errnoOf([&] { isBitmap24Bit(folder / "gone.bmp"); }), ENOENT);
}

} // namespace

} // namespace pixtint
