// SPDX-License-Identifier: MIT
#include "engine/EntryUse.h"

#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"

#include <gtest/gtest.h>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

using Use = std::vector<std::uint64_t>;

Use useOf(BmpRecipe recipe) {
    recipe.palette.resize(std::size_t{1} << recipe.bitCount);
    return countEntryUse(MemorySource(makeBmp(recipe)),
                         readBmpLayout(MemorySource(makeBmp(recipe))));
}

std::optional<ErrorKind> rleError(int bits, const Bytes& data) {
    return errorKindOf([&] {
        useOf({.width = 4,
               .height = 2,
               .bitCount = bits,
               .compression = bits == 8 ? 1u : 2u,
               .pixels = data});
    });
}

TEST(EngineEntryUse, CountsThePixelsOfEachRowButNotItsPaddingOrAShortEnd) {
    // 1-bit, 3 wide: the first three bits of each row's four bytes.
    Use use = useOf({.width = 3,
                     .height = 2,
                     .bitCount = 1,
                     .pixels = {0b10111111, 0xFF, 0xFF, 0xFF, 0b01111111, 0xFF, 0xFF, 0xFF}});
    EXPECT_EQ(use, (Use{2, 4}));
    // 4-bit, 3 wide; the second row is cut short after its first byte.
    use = useOf({.width = 3, .height = 2, .bitCount = 4, .pixels = {0x12, 0x3F, 0xFF, 0xFF, 0x45}});
    EXPECT_EQ(use[1] + use[2] + use[3] + use[4] + use[5], 5u);
    EXPECT_EQ(use[15], 0u);
}

TEST(EngineEntryUse, ReadsRleRunsLiteralsAndMoves) {
    // RLE8: a run of 1 of index 7, a literal of 3 (and a pad byte), end of row, a move to
    // the last pixel, a run of 1, end of picture.
    Use use = useOf({.width = 4,
                     .height = 2,
                     .bitCount = 8,
                     .compression = 1,
                     .pixels = {1, 7, 0, 3, 1, 2, 5, 0, 0, 0, 0, 2, 3, 0, 1, 9, 0, 1}});
    EXPECT_EQ(use[7], 1u);
    EXPECT_EQ(use[1] + use[2] + use[5], 3u);
    EXPECT_EQ(use[9], 1u);
    // RLE4: a run of 3 alternates the two nibbles; a literal of 3 nibbles takes two bytes.
    use = useOf({.width = 6,
                 .height = 1,
                 .bitCount = 4,
                 .compression = 2,
                 .pixels = {3, 0x12, 0, 3, 0x34, 0x50, 0, 1}});
    EXPECT_EQ(use, (Use{0, 2, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(EngineEntryUse, DamagedRleIsNotAPicture) {
    EXPECT_EQ(rleError(8, {4, 1, 0, 1}), std::nullopt);
    EXPECT_EQ(rleError(8, {5, 1, 0, 1}), ErrorKind::NotAPicture);             // past the row
    EXPECT_EQ(rleError(8, {0, 0, 0, 0, 1, 1, 0, 1}), ErrorKind::NotAPicture); // past the picture
    EXPECT_EQ(rleError(8, {0, 2, 9, 0, 0, 1}), ErrorKind::NotAPicture);       // a move out
    EXPECT_EQ(rleError(8, {0, 2, 0, 3, 0, 1}), ErrorKind::NotAPicture);       // below the last row
    EXPECT_EQ(rleError(8, {0, 2, 0, 2, 0, 1}), std::nullopt);                 // to the end
    EXPECT_EQ(rleError(8, {4, 1}), ErrorKind::NotAPicture);                   // no end code
    EXPECT_EQ(rleError(8, {0, 4, 1, 2}), ErrorKind::NotAPicture);             // a literal cut short
    EXPECT_EQ(rleError(4, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}), ErrorKind::NotAPicture);
}

} // namespace

} // namespace pixtint
