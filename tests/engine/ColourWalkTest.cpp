#include "engine/ColourMap.h"
#include "engine/PixelRows.h"
#include "tests/engine/EngineBytes.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

// The before colour as stored (blue, green, red), the after colour, and some other colour.
const Bytes B{1, 2, 3};
const Bytes A{7, 8, 9};
const Bytes X{5, 5, 5};
constexpr Rgb Before{3, 2, 1};
constexpr Rgb After{9, 8, 7};

// The walk never reads the header, so any 54 bytes serve; these look like the before colour
// and must stay as they are.
Bytes withHeader(const Bytes& pixels) {
    return concat({B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, pixels});
}

// Padding that looks like the before colour is skipped, never compared. Look-alikes that
// straddle two pixels or match two bytes of three stay, in short rows and in long ones.
const Bytes LookAlikes = concat({{2, 3, 1}, {9, 1, 2}, {3, 9, 9}, {1, 2, 4}, X, {4, 2, 3}});
const Bytes LongRow = concat({B, LookAlikes, B, LookAlikes, B, LookAlikes, B, B, X, B});
const Bytes LongRowDone = concat({A, LookAlikes, A, LookAlikes, A, LookAlikes, A, A, X, A});

TEST(EngineColourWalk, RecoloursWholePixelsOfEveryRowAndCountsThem) {
    const struct {
        std::int32_t width;
        Bytes pixels;   // everything after the header
        Bytes expected; // the same after the walk
        std::uint64_t changed;
    } walks[] = {
        {1, concat({B, {1}, X, {1}, B, {1}}), concat({A, {1}, X, {1}, A, {1}}), 2},
        {2, concat({B, B, {1, 2}, X, B, {1, 2}}), concat({A, A, {1, 2}, X, A, {1, 2}}), 3},
        {3, concat({B, X, B, {1, 2, 3}}), concat({A, X, A, {1, 2, 3}}), 2},
        {4, concat({B, X, B, B, B, X}), concat({A, X, A, A, A, X}), 4},
        {25, concat({LongRow, {1}, LongRow, {1}, B}),
         concat({LongRowDone, {1}, LongRowDone, {1}, A}), 13},
        // A partial pixel at the end is neither compared nor changed.
        {4, concat({B, B, {1, 2}}), concat({A, A, {1, 2}}), 2},
        // Offsets are 64-bit: the first row may be far longer than the file.
        {2'000'000'000, concat({B, X, B, {1}}), concat({A, X, A, {1}}), 2},
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(testing::Message() << "width " << walk.width << ", " << walk.pixels.size());
        Bytes bytes = withHeader(walk.pixels);
        EXPECT_EQ(PixelRows(walk.width).recolor(bytes, 0, ColourMap(Before, After)), walk.changed);
        EXPECT_EQ(bytes, withHeader(walk.expected));
    }
}

// Sixteen pixels at a time and one by one must agree wherever a run starts and ends.
TEST(EngineColourWalk, OnePairMatchesThePixelByPixelWalkAtEveryLength) {
    for (std::size_t pixels = 0; pixels < 70; ++pixels) {
        Bytes run;
        for (std::size_t i = 0; i < pixels; ++i) {
            run = concat({run, i % 3 == 0 ? B : (i % 3 == 1 ? X : Bytes{3, 2, 1})});
        }
        Bytes expected = run;
        std::uint64_t matches = 0;
        for (std::size_t i = 0; i < pixels; i += 3) {
            std::copy(A.begin(), A.end(), expected.begin() + 3 * i);
            ++matches;
        }
        EXPECT_EQ(ColourMap(Before, After).recolor(run), matches) << pixels;
        EXPECT_EQ(run, expected) << pixels;
    }
}

TEST(EngineColourWalk, SeveralPairsMatchTheOriginalColoursOnly) {
    constexpr Rgb Other{5, 5, 5};
    Bytes pixels = concat({B, A, X, B});
    // A swap: each pixel is looked up once, so no pixel is changed twice.
    EXPECT_EQ(ColourMap({{Before, After}, {After, Before}}).recolor(pixels), 3u);
    EXPECT_EQ(pixels, concat({A, B, X, A}));
    // The first pair of a colour wins, and a pair onto itself shields its colour.
    pixels = concat({B, X});
    EXPECT_EQ(ColourMap({{Before, Before}, {Before, After}, {Other, After}}).recolor(pixels), 1u);
    EXPECT_EQ(pixels, concat({B, A}));
    // One pair onto itself changes nothing and counts nothing.
    EXPECT_EQ(ColourMap(Before, Before).recolor(pixels), 0u);
}

} // namespace

} // namespace pixtint
