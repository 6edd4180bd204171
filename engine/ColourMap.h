// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pixtint {

struct ChannelBytes;
struct ChannelShifts;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ColourPair {
    Rgb from;
    Rgb to;
    // The FROM colour becomes fully transparent (alpha 0, colour 0) instead of `to`: the
    // picture needs an alpha channel, which only a 32-bit picture has.
    bool transparent = false;
    friend bool operator==(const ColourPair&, const ColourPair&) = default;
};

// How far from a FROM colour a colour that was not matched still counts as a near miss: an
// anti-aliased fringe the user may want to widen the tolerance for.
inline constexpr std::uint8_t NearMissReach = 8;

// Whether a walk counts near misses: only the command line reports them, and counting them
// costs the walk a second comparison of every pixel.
enum class NearMisses { Ignored, Counted };

// What the walk did for one pair.
struct PairCounts {
    std::uint64_t pixelsChanged = 0;  // pixels that took its TO colour (and were not that colour)
    std::uint64_t entriesChanged = 0; // palette entries that took its TO colour
    std::uint64_t nearMisses = 0;     // pixels within reach of its FROM colour that no pair matched
};

struct WalkCounts {
    explicit WalkCounts(std::size_t pairCount = 0)
        : pairs(pairCount) {}

    std::vector<PairCounts> pairs;

    void add(const WalkCounts& other);
    std::uint64_t pixelsChanged() const;
    std::uint64_t entriesChanged() const;
    std::uint64_t nearMisses() const;
};

// The colours a conversion replaces, applied in one pass: every pixel is matched against the
// original colours only, so A=B with B=A swaps them. A colour matches a pair's FROM colour
// when no channel differs by more than the tolerance; the first pair that matches wins, and
// its TO colour replaces the colour outright. Its walks leave the near misses at zero unless
// it was made to count them.
class ColourMap {
public:
    explicit ColourMap(std::vector<ColourPair> pairs, std::uint8_t tolerance = 0,
                       NearMisses nearMisses = NearMisses::Ignored);
    ColourMap(Rgb from, Rgb to)
        : ColourMap(std::vector<ColourPair>{{from, to}}) {}

    std::optional<std::size_t> matchOf(Rgb colour) const;
    // The first pair within NearMissReach of `colour`, when no pair matches it.
    std::optional<std::size_t> nearMissOf(Rgb colour) const;

    // Recolours the whole blue-green-red pixels of `pixels` (no padding); a partial pixel at
    // the end is left.
    void recolour(std::span<std::uint8_t> pixels, WalkCounts& counts) const;
    // The same for four-byte pixels whose channels are where `channels` says; the fourth
    // byte is kept.
    void recolour(std::span<std::uint8_t> pixels, const ChannelBytes& channels,
                  WalkCounts& counts) const;
    // The same for four-byte pixels whose channels are eight bits at any position; every
    // other bit is kept.
    void recolour(std::span<std::uint8_t> pixels, const ChannelShifts& shifts,
                  WalkCounts& counts) const;

    // Four-byte pixels with an alpha channel (`alphaMask`, the colours at `shifts`): a pixel
    // whose pair is transparent loses its colour and alpha bits; another pair's TO colour
    // keeps the pixel's alpha.
    void recolourWithAlpha(std::span<std::uint8_t> pixels, const ChannelShifts& shifts,
                           std::uint32_t alphaMask, WalkCounts& counts) const;

    // Shorthands for the tests: the pixels changed.
    std::uint64_t recolour(std::span<std::uint8_t> pixels) const;

    const std::vector<ColourPair>& pairs() const { return pairs_; }
    std::uint8_t tolerance() const { return tolerance_; }
    bool countsNearMisses() const { return nearMisses_ == NearMisses::Counted; }
    // Whether a pair turns its colour transparent.
    bool makesTransparent() const;
    WalkCounts freshCounts() const { return WalkCounts(pairs_.size()); }

private:
    void recolour(std::span<std::uint8_t> pixels, const ChannelBytes& channels,
                  std::size_t pixelSize, WalkCounts& counts) const;
    bool recolourKeyRun(std::span<std::uint8_t> pixels, const ChannelShifts& shifts,
                        std::uint32_t alphaMask, WalkCounts& counts) const;
    // The first pair within NearMissReach of a colour no pair matched.
    std::optional<std::size_t> nearestWithinReach(Rgb colour) const;
    void countNearMiss(Rgb unmatched, WalkCounts& counts) const;

    std::vector<ColourPair> pairs_;
    std::uint8_t tolerance_;
    NearMisses nearMisses_;
};

// The largest difference between two colours' channels.
int channelDistance(Rgb a, Rgb b);

} // namespace pixtint
