// SPDX-License-Identifier: MIT
#include "engine/BmpLayout.h"

#include "engine/PictureSize.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"

#include <gtest/gtest.h>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

BmpLayout layoutOf(const BmpRecipe& recipe) {
    return readBmpLayout(MemorySource(makeBmp(recipe)));
}

BmpRecipe withPixels(BmpRecipe recipe) {
    recipe.pixels.assign(strideFor(recipe.width, recipe.bitCount) * std::abs(recipe.height), 0);
    return recipe;
}

TEST(EngineBmpLayout, FindsThePixelsTheTableAndTheSizeThroughEveryHeaderKind) {
    for (const std::uint32_t header : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        SCOPED_TRACE(header);
        BmpRecipe recipe{.width = 5, .height = -3, .bitCount = 8, .headerSize = header};
        recipe.palette.assign(7, Pixel{1, 2, 3});
        recipe.gap = {9, 9, 9};
        if (header == 12) {
            recipe.height = 3;
        }
        const Bytes picture = makeBmp(withPixels(recipe));
        const BmpLayout layout = readBmpLayout(MemorySource(picture));
        EXPECT_EQ(layout.colours, ColourLayout::Palette);
        EXPECT_EQ(layout.pixelOffset, pixelOffsetOf(recipe));
        EXPECT_EQ(layout.paletteOffset, 14 + header);
        EXPECT_EQ(layout.stride, 8u);
        EXPECT_EQ(layout.rowCount, 3u);
        EXPECT_EQ(layout.topDown(), header != 12);
        // Without a count in the header the table fills the room before the pixels.
        EXPECT_EQ(layout.entryCount, header == 12 ? 8u : 7u);
        // The size the window shows: a 12-byte header keeps it in two 16-bit fields.
        const PictureSize size = readPictureSize(MemorySource(picture));
        EXPECT_EQ(size.width, 5);
        EXPECT_EQ(size.height, recipe.height);
    }
}

// A count larger than the bits can index would take the bytes after the table for entries.
TEST(EngineBmpLayout, TheColourTableHoldsNoMoreEntriesThanTheBitsCanIndex) {
    for (const int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        const std::uint32_t capacity = 1u << bits;
        BmpRecipe recipe{.width = 2, .height = 2, .bitCount = bits};
        recipe.palette.assign(capacity + 1, Pixel{});
        const BmpLayout layout = layoutOf(withPixels(recipe));
        EXPECT_EQ(layout.entryCount, capacity);
        EXPECT_EQ(layout.entryCapacity, capacity);
    }
}

TEST(EngineBmpLayout, ChannelsFollowTheMasks) {
    // Masks in any byte order, after a 40-byte header or inside a V4 one; BI_RGB ignores them.
    BmpRecipe masked{.width = 2, .height = 2, .bitCount = 32, .compression = 3};
    masked.masks[0] = 0x000000FF;
    masked.masks[1] = 0xFF000000;
    masked.masks[2] = 0x0000FF00;
    masked.masks[3] = 0x00FF0000;
    for (const std::uint32_t header : {40u, 108u}) {
        masked.headerSize = header;
        const ChannelBytes channels = layoutOf(withPixels(masked)).channels;
        EXPECT_EQ(channels.red, 0);
        EXPECT_EQ(channels.green, 3);
        EXPECT_EQ(channels.blue, 1);
        EXPECT_EQ(channels.fourth, 2);
    }
    EXPECT_FALSE(layoutOf(withPixels(masked)).shifts);
    // Eight bits that are not a whole byte: their shifts instead.
    masked.masks[0] = 0xFF000000;
    masked.masks[1] = 0x00000FF0;
    masked.masks[2] = 0x000FF000;
    masked.masks[3] = 0;
    const auto shifts = layoutOf(withPixels(masked)).shifts;
    ASSERT_TRUE(shifts);
    EXPECT_EQ(shifts->red, 24);
    EXPECT_EQ(shifts->green, 4);
    EXPECT_EQ(shifts->blue, 12);
    masked.compression = 0;
    EXPECT_EQ(layoutOf(withPixels(masked)).channels.red, 2);
}

// The English detail for the command line, and the kind refused for the window's own words.
TEST(EngineBmpLayout, KindsThatAreNotConvertedSayWhy) {
    BmpRecipe masks{.bitCount = 32, .compression = 3};
    masks.masks[0] = 0x3FF00000;
    const struct {
        BmpRecipe recipe;
        const char* detail;
        Refusal refusal;
    } cases[] = {
        {{.bitCount = 16}, "16-bit picture", Refusal(Refused::BitCount, 16)},
        {{.bitCount = 24, .compression = 4},
         "a JPEG picture inside a BMP",
         Refusal(Refused::JpegInside)},
        {{.bitCount = 8, .compression = 5, .palette = {Pixel{}}},
         "a PNG picture inside a BMP",
         Refusal(Refused::PngInside)},
        {{.bitCount = 24, .compression = 1},
         "compressed 24-bit picture (RLE8)",
         Refusal(Refused::Compression, 24, "RLE8")},
        {{.bitCount = 24, .headerSize = 20}, "a 20-byte header", Refusal(Refused::HeaderSize, 20)},
        {{.bitCount = 8, .compression = 2, .palette = {Pixel{}}},
         "8-bit picture with RLE4 compression",
         Refusal(Refused::Compression, 8, "RLE4")},
        {masks, "32-bit picture whose colour masks are not 8 separate bits",
         Refusal(Refused::ColourMasks)},
        {{.height = -15, .bitCount = 8, .compression = 1, .palette = {Pixel{}}},
         "a compressed picture stored top-down",
         Refusal(Refused::Damaged)},
    };
    for (const auto& [recipe, detail, refusal] : cases) {
        const auto error = errorOf([&] { layoutOf(withPixels(recipe)); });
        ASSERT_TRUE(error) << detail;
        EXPECT_EQ(error->detail(), detail);
        EXPECT_EQ(error->refusal().what, refusal.what) << detail;
        EXPECT_EQ(error->refusal().number, refusal.number) << detail;
        EXPECT_EQ(error->refusal().compression, refusal.compression) << detail;
    }
}

TEST(EngineBmpLayout, OffsetsAndLengthsAreCheckedBeforeUse) {
    Bytes picture = makeBmp(withPixels({.width = 3, .height = 2}));
    const auto kindWith = [&](std::size_t length, std::uint32_t pixelOffset) {
        Bytes bytes(picture.begin(), picture.begin() + static_cast<std::ptrdiff_t>(length));
        if (length >= 14) {
            for (int i = 0; i < 4; ++i) {
                bytes[10 + i] = static_cast<std::uint8_t>(pixelOffset >> 8 * i);
            }
        }
        return errorKindOf([&] { readBmpLayout(MemorySource(bytes)); });
    };
    EXPECT_EQ(kindWith(picture.size(), 54), std::nullopt);
    EXPECT_EQ(kindWith(picture.size(), 53), ErrorKind::NotAPicture); // inside the header
    EXPECT_EQ(kindWith(picture.size(), 0xFFFFFFFF), ErrorKind::NotAPicture);
    EXPECT_EQ(kindWith(40, 54), ErrorKind::TooShort); // ends inside the header
    // A table larger than the room before the pixels.
    BmpRecipe table{.bitCount = 8, .palette = {Pixel{}, Pixel{}}, .coloursUsed = 3};
    EXPECT_EQ(errorKindOf([&] { layoutOf(withPixels(table)); }), ErrorKind::NotAPicture);
    BmpRecipe os2{.bitCount = 8, .headerSize = 16, .palette = {Pixel{}}};
    EXPECT_EQ(errorKindOf([&] { layoutOf(withPixels(os2)); }), ErrorKind::NotAPicture);
}

} // namespace

} // namespace pixtint
