// SPDX-License-Identifier: MIT
#include "engine/BmpLayout.h"
#include "engine/ColourMap.h"
#include "engine/PixelRows.h"
#include "tests/support/MemoryBytes.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

// The FROM colour as stored (blue, green, red), the TO colour, and some other colour.
const Bytes F{1, 2, 3};
const Bytes T{7, 8, 9};
const Bytes X{5, 5, 50};
constexpr Rgb From{3, 2, 1};
constexpr Rgb To{9, 8, 7};

// Pixels before the origin are never read; these look like the FROM colour and must stay.
Bytes withHeader(const Bytes& pixels) {
    return concat({F, F, F, F, F, F, F, F, F, F, F, F, F, F, F, F, F, F, pixels});
}

// Padding that looks like the FROM colour is skipped, never compared. Look-alikes that
// straddle two pixels or match two bytes of three stay, in short rows and in long ones.
const Bytes LookAlikes = concat({{2, 3, 1}, {9, 1, 2}, {3, 9, 9}, {1, 2, 40}, X, {40, 2, 3}});
const Bytes LongRow = concat({F, LookAlikes, F, LookAlikes, F, LookAlikes, F, F, X, F});
const Bytes LongRowDone = concat({T, LookAlikes, T, LookAlikes, T, LookAlikes, T, T, X, T});

TEST(EngineColourWalk, RecoloursWholePixelsOfTheRowsOnlyAndCountsThem) {
    const struct {
        std::int32_t width;
        std::uint64_t rows;
        Bytes pixels;   // everything after the header
        Bytes expected; // the same after the walk
        std::uint64_t pixelsChanged;
    } walks[] = {
        {1, 9, concat({F, {1}, X, {1}, F, {1}}), concat({T, {1}, X, {1}, T, {1}}), 2},
        {2, 9, concat({F, F, {1, 2}, X, F, {1, 2}}), concat({T, T, {1, 2}, X, T, {1, 2}}), 3},
        {4, 9, concat({F, X, F, F, F, X}), concat({T, X, T, T, T, X}), 4},
        {25, 9, concat({LongRow, {1}, LongRow, {1}, F}),
         concat({LongRowDone, {1}, LongRowDone, {1}, T}), 13},
        // A partial pixel at the end is neither compared nor changed.
        {4, 9, concat({F, F, {1, 2}}), concat({T, T, {1, 2}}), 2},
        // Bytes after the last row are no pixels.
        {2, 1, concat({F, F, {1, 2}, F, F}), concat({T, T, {1, 2}, F, F}), 2},
        // Offsets are 64-bit: the first row may be far longer than the file.
        {2'000'000'000, 9, concat({F, X, F, {1}}), concat({T, X, T, {1}}), 2},
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(testing::Message() << "width " << walk.width << ", " << walk.pixels.size());
        Bytes bytes = withHeader(walk.pixels);
        EXPECT_EQ(PixelRows(walk.width, 54, walk.rows).recolour(bytes, 0, ColourMap(From, To)),
                  walk.pixelsChanged);
        EXPECT_EQ(bytes, withHeader(walk.expected));
    }
}

// A run of `count` pixels of `pixelSize` bytes whose i-th pixel differs from `base` by `delta`
// on `channel` when i is a multiple of 3, and is far from it otherwise.
Bytes run(std::size_t count, std::size_t pixelSize, const Bytes& base, std::size_t channel,
          int delta) {
    Bytes bytes;
    for (std::size_t i = 0; i < count; ++i) {
        Bytes pixel = i % 3 == 0 ? base : Bytes{200, 201, 202};
        pixel.resize(pixelSize, static_cast<std::uint8_t>(i)); // the fourth byte
        if (i % 3 == 0) {
            pixel[channel] = static_cast<std::uint8_t>(pixel[channel] + delta);
        }
        bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    }
    return bytes;
}

// Sixteen pixels at a time and one by one must agree wherever a run starts and ends, at the
// tolerance and one either side of it, on each channel, for three- and four-byte pixels;
// near misses are counted only by a walk asked for them, and asking changes no pixel.
TEST(EngineColourWalk, ToleranceHoldsOnEveryChannelAtEveryRunLength) {
    const Bytes base{100, 110, 120}; // blue, green, red
    constexpr Rgb From{120, 110, 100};
    constexpr Rgb To{1, 2, 3};
    for (const NearMisses nearMisses : {NearMisses::Counted, NearMisses::Ignored}) {
        for (const std::size_t pixelSize : {3u, 4u}) {
            for (const std::uint8_t tolerance : {0, 3, 8, 9}) {
                for (const int delta :
                     {tolerance - 1, int{tolerance}, tolerance + 1, -tolerance - 1}) {
                    for (std::size_t channel = 0; channel < 3; ++channel) {
                        for (std::size_t count : {1u, 15u, 16u, 17u, 33u, 70u}) {
                            SCOPED_TRACE(
                                testing::Message()
                                << (nearMisses == NearMisses::Counted ? "near misses, " : "")
                                << pixelSize << " bytes, T " << +tolerance << ", delta " << delta
                                << ", channel " << channel << ", " << count);
                            Bytes pixels = run(count, pixelSize, base, channel, delta);
                            const std::uint64_t near = (count + 2) / 3;
                            const bool matches = std::abs(delta) <= tolerance;
                            Bytes expected = pixels;
                            for (std::size_t i = 0; matches && i < count; i += 3) {
                                std::copy_n(Bytes{3, 2, 1}.begin(), 3,
                                            expected.begin() +
                                                static_cast<std::ptrdiff_t>(i * pixelSize));
                            }
                            WalkCounts counts(1);
                            const ColourMap map({{From, To}}, tolerance, nearMisses);
                            if (pixelSize == 3) {
                                map.recolour(pixels, counts);
                            } else {
                                map.recolour(pixels, ChannelBytes{}, counts);
                            }
                            EXPECT_EQ(pixels, expected);
                            EXPECT_EQ(counts.pairs[0].pixelsChanged, matches ? near : 0);
                            const bool nearMiss = nearMisses == NearMisses::Counted && !matches &&
                                                  std::abs(delta) <= NearMissReach;
                            EXPECT_EQ(counts.pairs[0].nearMisses, nearMiss ? near : 0);
                        }
                    }
                }
            }
        }
    }
}

TEST(EngineColourWalk, SeveralPairsMatchTheOriginalColoursOnly) {
    constexpr Rgb Other{50, 5, 5};
    Bytes pixels = concat({F, T, X, F});
    // A swap: each pixel is looked up once, so no pixel is changed twice.
    EXPECT_EQ(ColourMap({{From, To}, {To, From}}).recolour(pixels), 3u);
    EXPECT_EQ(pixels, concat({T, F, X, T}));
    // The first pair that matches wins, and a pair onto itself shields its colour.
    pixels = concat({F, X});
    EXPECT_EQ(ColourMap({{From, From}, {From, To}, {Other, To}}).recolour(pixels), 1u);
    EXPECT_EQ(pixels, concat({F, T}));
    // With a tolerance, the first pair within it wins even when a later one is nearer; a
    // colour near one pair but matched by another is no near miss.
    pixels = {4, 2, 3, 10, 8, 7};
    WalkCounts counts(2);
    ColourMap({{Rgb{3, 2, 1}, Rgb{0, 0, 0}}, {Rgb{3, 2, 4}, Rgb{255, 255, 255}}}, 3,
              NearMisses::Counted)
        .recolour(pixels, counts);
    EXPECT_EQ(pixels, (Bytes{0, 0, 0, 10, 8, 7}));
    EXPECT_EQ(counts.pairs[0].pixelsChanged, 1u);
    EXPECT_EQ(counts.pairs[1].pixelsChanged, 0u);
    EXPECT_EQ(counts.pairs[1].nearMisses, 1u); // 7,8,10 is within 8 of 3,2,4 only
    // One pair onto itself changes nothing and counts nothing.
    EXPECT_EQ(ColourMap(From, From).recolour(pixels), 0u);
}

// Channels of eight bits anywhere in a little-endian four-byte pixel; every other bit stays.
TEST(EngineColourWalk, ChannelsAtAnyBitKeepEveryOtherBit) {
    const ChannelShifts shifts{.red = 24, .green = 4, .blue = 12};
    const auto pixel = [&](Rgb colour, std::uint32_t rest) {
        const std::uint32_t value = rest | std::uint32_t{colour.red} << 24 |
                                    std::uint32_t{colour.green} << 4 |
                                    std::uint32_t{colour.blue} << 12;
        return Bytes{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value >> 16),
                     static_cast<std::uint8_t>(value >> 24)};
    };
    Bytes pixels =
        concat({pixel(From, 0x00F0000F), pixel(Rgb{3, 2, 9}, 0x00100001), pixel(Rgb{90, 2, 1}, 0)});
    WalkCounts counts(1);
    ColourMap({{From, To}}, 0, NearMisses::Counted).recolour(pixels, shifts, counts);
    EXPECT_EQ(pixels, concat({pixel(To, 0x00F0000F), pixel(Rgb{3, 2, 9}, 0x00100001),
                              pixel(Rgb{90, 2, 1}, 0)}));
    EXPECT_EQ(counts.pixelsChanged(), 1u);
    EXPECT_EQ(counts.nearMisses(), 1u);
}

} // namespace

} // namespace pixtint
