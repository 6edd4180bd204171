#include "AppError.h"
#include "BitmapRecolor.h"
#include "BmpBytes.h"
#include "EngineBytes.h"
#include "TestFolder.h"

#include <climits>
#include <gtest/gtest.h>

using namespace BitmapRecolor;

namespace {

// The before colour as stored (blue, green, red), the after colour, and some other colour.
const Bytes B{1, 2, 3};
const Bytes A{7, 8, 9};
const Bytes X{5, 5, 5};
constexpr Rgb Before{3, 2, 1};
constexpr Rgb After{9, 8, 7};

struct WalkCase {
    const char* name;
    std::int32_t width;
    Bytes pixels;   // everything after the header
    Bytes expected; // what the temporary file holds after the header
};

class EngineReplaceColorWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(EngineReplaceColorWalk, WritesTheRecoloredCopy) {
    const auto& walk = GetParam();
    TestFolder folder;
    const Bytes original = bitmapBytes(walk.width, walk.pixels);
    folder.write("p.bmp", original);

    ReplaceColor(folder / "p.bmp", walk.width, Before, After);

    EXPECT_EQ(folder.read("p.tmp"), bitmapBytes(walk.width, walk.expected));
    EXPECT_EQ(folder.read("p.bmp"), original);
}

// Padding that looks like the before colour is skipped, never compared. Look-alikes that
// straddle two pixels or match two bytes of three stay, in short rows and in long ones.
const Bytes LookAlikes = concat({{2, 3, 1}, {9, 1, 2}, {3, 9, 9}, {1, 2, 4}, X, {4, 2, 3}});
const Bytes LongRow = concat({B, LookAlikes, B, LookAlikes, B, LookAlikes, B, B, X, B});
const Bytes LongRowDone = concat({A, LookAlikes, A, LookAlikes, A, LookAlikes, A, A, X, A});

INSTANTIATE_TEST_SUITE_P(
    , EngineReplaceColorWalk,
    ::testing::Values(
        WalkCase{"Width1Pad1", 1, concat({B, {1}, X, {1}, B, {1}}),
                 concat({A, {1}, X, {1}, A, {1}})},
        WalkCase{"Width2Pad2", 2, concat({B, B, {1, 2}, X, B, {1, 2}}),
                 concat({A, A, {1, 2}, X, A, {1, 2}})},
        WalkCase{"Width3Pad3", 3, concat({B, X, B, {1, 2, 3}}), concat({A, X, A, {1, 2, 3}})},
        WalkCase{"Width4NoPad", 4, concat({B, X, B, B, B, X}), concat({A, X, A, A, A, X})},
        WalkCase{"LongRowsPad1", 25, concat({LongRow, {1}, LongRow, {1}, B}),
                 concat({LongRowDone, {1}, LongRowDone, {1}, A})},
        WalkCase{"PartialPixelOneMatching", 4, concat({B, B, {1}}), concat({A, A, {1}})},
        WalkCase{"PartialPixelTwoMatching", 4, concat({B, B, {1, 2}}), concat({A, A, {1, 2}})},
        WalkCase{"PartialPixelTwoOther", 4, concat({B, {9, 9}}), concat({A, {9, 9}})},
        WalkCase{"OnlyPartialPixel", 4, {1, 2}, {1, 2}},
        WalkCase{"HugeWidth", 2'000'000'000, concat({B, X, B, {1}}), concat({A, X, A, {1}})}),
    [](const auto& info) { return std::string(info.param.name); });

// Files larger than the engine's read chunk: pixels cut by a chunk boundary must be whole.
class EngineReplaceColorLarge : public ::testing::TestWithParam<int> {};

TEST_P(EngineReplaceColorLarge, RecolorsEveryPixelAcrossChunks) {
    const int width = GetParam();
    const int height = 3 * (1 << 20) / (width * 3) + 1;
    TestFolder folder;
    folder.write("big.bmp", makeBmp24(width, height, Pixel{3, 2, 1}));

    ReplaceColor(folder / "big.bmp", width, Before, After);

    EXPECT_EQ(folder.read("big.tmp"), makeBmp24(width, height, Pixel{9, 8, 7}));
}

INSTANTIATE_TEST_SUITE_P(, EngineReplaceColorLarge, ::testing::Values(1, 4, 5, 7, 1001));

TEST(EngineReplaceColor, SameColorsGiveAnIdenticalCopy) {
    TestFolder folder;
    const Bytes original = bitmapBytes(3, concat({B, X, B, {1, 2, 3}, B, {1}}));
    folder.write("s.bmp", original);

    ReplaceColor(folder / "s.bmp", 3, Before, Before);

    EXPECT_EQ(folder.read("s.tmp"), original);
}

TEST(EngineReplaceColor, ReplacesItsOwnTemporaryFileWhole) {
    TestFolder folder;
    folder.write("t.tmp", bitmapBytes(2, concat({B, X, {0, 0}})));

    ReplaceColor(folder / "t.tmp", 2, Before, After);

    EXPECT_EQ(folder.read("t.tmp"), bitmapBytes(2, concat({A, X, {0, 0}})));
    EXPECT_EQ(folder.names().size(), 1u);
}

struct FailureCase {
    const char* name;
    std::int32_t width;
    std::size_t length;
    int error;
};

class EngineReplaceColorFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(EngineReplaceColorFailure, ThrowsAndLeavesTheTemporaryFileAlone) {
    const auto& failure = GetParam();
    TestFolder folder;
    folder.write("f.bmp", Bytes(failure.length, 1));
    folder.write("f.tmp", {42});

    try {
        ReplaceColor(folder / "f.bmp", failure.width, Before, After);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), failure.error);
    }
    EXPECT_EQ(folder.read("f.tmp"), Bytes{42});
    EXPECT_EQ(folder.names().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(, EngineReplaceColorFailure,
                         ::testing::Values(FailureCase{"ZeroWidth", 0, 100, 5},
                                           FailureCase{"NegativeWidth", -16, 100, 5},
                                           FailureCase{"MostNegativeWidth", INT_MIN, 100, 5},
                                           FailureCase{"EmptyFile", 16, 0, 9},
                                           FailureCase{"HeaderOnly", 16, 54, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineReplaceColor, NonPositiveWidthWritesNoTemporaryFile) {
    TestFolder folder;
    folder.write("w.bmp", bitmapBytes(1, concat({B, {0}})));

    EXPECT_THROW(ReplaceColor(folder / "w.bmp", 0, Before, After), AppError);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"w.bmp"});
}

} // namespace
