// SPDX-License-Identifier: MIT
#include "engine/ColourMap.h"

#include "engine/BmpLayout.h"
#include "engine/RecolourRun.h"

#include <algorithm>
#include <cstdlib>

namespace pixtint {

namespace {

Rgb colourAt(const std::uint8_t* pixel, const ChannelBytes& channels) {
    return {pixel[channels.red], pixel[channels.green], pixel[channels.blue]};
}

void paint(std::uint8_t* pixel, const ChannelBytes& channels, Rgb colour) {
    pixel[channels.red] = colour.red;
    pixel[channels.green] = colour.green;
    pixel[channels.blue] = colour.blue;
}

// The byte of a four-byte pixel that `mask` covers whole, when it does.
std::optional<std::uint8_t> wholeByteOf(std::uint32_t mask) {
    for (std::uint8_t byte = 0; byte < 4; ++byte) {
        if (mask == std::uint32_t{0xFF} << (8 * byte)) {
            return byte;
        }
    }
    return std::nullopt;
}

} // namespace

int channelDistance(Rgb a, Rgb b) {
    return std::max(
        {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

void WalkCounts::add(const WalkCounts& other) {
    if (pairs.size() < other.pairs.size()) {
        pairs.resize(other.pairs.size());
    }
    for (std::size_t i = 0; i < other.pairs.size(); ++i) {
        pairs[i].pixelsChanged += other.pairs[i].pixelsChanged;
        pairs[i].entriesChanged += other.pairs[i].entriesChanged;
        pairs[i].nearMisses += other.pairs[i].nearMisses;
    }
}

std::uint64_t WalkCounts::pixelsChanged() const {
    std::uint64_t sum = 0;
    for (const PairCounts& pair : pairs) {
        sum += pair.pixelsChanged;
    }
    return sum;
}

std::uint64_t WalkCounts::entriesChanged() const {
    std::uint64_t sum = 0;
    for (const PairCounts& pair : pairs) {
        sum += pair.entriesChanged;
    }
    return sum;
}

std::uint64_t WalkCounts::nearMisses() const {
    std::uint64_t sum = 0;
    for (const PairCounts& pair : pairs) {
        sum += pair.nearMisses;
    }
    return sum;
}

ColourMap::ColourMap(std::vector<ColourPair> pairs, std::uint8_t tolerance, NearMisses nearMisses)
    : pairs_(std::move(pairs))
    , tolerance_(tolerance)
    , nearMisses_(nearMisses) {}

std::optional<std::size_t> ColourMap::matchOf(Rgb colour) const {
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        if (channelDistance(colour, pairs_[i].from) <= tolerance_) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ColourMap::nearMissOf(Rgb colour) const {
    if (matchOf(colour)) {
        return std::nullopt;
    }
    return nearestWithinReach(colour);
}

std::optional<std::size_t> ColourMap::nearestWithinReach(Rgb colour) const {
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        if (channelDistance(colour, pairs_[i].from) <= NearMissReach) {
            return i;
        }
    }
    return std::nullopt;
}

void ColourMap::countNearMiss(Rgb unmatched, WalkCounts& counts) const {
    if (const auto near = nearestWithinReach(unmatched)) {
        ++counts.pairs[*near].nearMisses;
    }
}

void ColourMap::recolour(std::span<std::uint8_t> pixels, WalkCounts& counts) const {
    recolour(pixels, ChannelBytes{}, 3, counts);
}

void ColourMap::recolour(std::span<std::uint8_t> pixels, const ChannelBytes& channels,
                         WalkCounts& counts) const {
    recolour(pixels, channels, 4, counts);
}

void ColourMap::recolour(std::span<std::uint8_t> pixels, const ChannelBytes& channels,
                         std::size_t pixelSize, WalkCounts& counts) const {
    if (pairs_.size() == 1) {
        const ColourPair& only = pairs_.front();
        const RunCounts run =
            recolourRun(pixels, pixelSize, channels, only.from, only.to, tolerance_, nearMisses_);
        counts.pairs[0].pixelsChanged += run.pixelsChanged;
        counts.pairs[0].nearMisses += run.nearMisses;
        return;
    }
    // Several pairs: each pixel is looked up once, among the original colours only.
    for (std::size_t offset = 0; offset + pixelSize <= pixels.size(); offset += pixelSize) {
        std::uint8_t* pixel = pixels.data() + offset;
        const Rgb colour = colourAt(pixel, channels);
        if (const auto match = matchOf(colour)) {
            if (pairs_[*match].to != colour) {
                paint(pixel, channels, pairs_[*match].to);
                ++counts.pairs[*match].pixelsChanged;
            }
        } else if (countsNearMisses()) {
            countNearMiss(colour, counts);
        }
    }
}

void ColourMap::recolour(std::span<std::uint8_t> pixels, const ChannelShifts& shifts,
                         WalkCounts& counts) const {
    const auto channel = [](std::uint32_t value, std::uint8_t shift) {
        return static_cast<std::uint8_t>(value >> shift);
    };
    for (std::size_t offset = 0; offset + 4 <= pixels.size(); offset += 4) {
        std::uint8_t* pixel = pixels.data() + offset;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= std::uint32_t{pixel[i]} << (8 * i);
        }
        const Rgb colour{channel(value, shifts.red), channel(value, shifts.green),
                         channel(value, shifts.blue)};
        if (const auto match = matchOf(colour)) {
            const Rgb to = pairs_[*match].to;
            if (to == colour) {
                continue;
            }
            value = (value & ~shifts.colourBits()) | std::uint32_t{to.red} << shifts.red |
                    std::uint32_t{to.green} << shifts.green | std::uint32_t{to.blue} << shifts.blue;
            for (int i = 0; i < 4; ++i) {
                pixel[i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
            ++counts.pairs[*match].pixelsChanged;
        } else if (countsNearMisses()) {
            countNearMiss(colour, counts);
        }
    }
}

bool ColourMap::makesTransparent() const {
    return std::any_of(pairs_.begin(), pairs_.end(),
                       [](const ColourPair& pair) { return pair.transparent; });
}

// The one pair of a key turned transparent, in pixels whose channels and alpha are whole
// bytes: the vectorised walk. Answers false for any other map or layout.
bool ColourMap::recolourKeyRun(std::span<std::uint8_t> pixels, const ChannelShifts& shifts,
                               std::uint32_t alphaMask, WalkCounts& counts) const {
    const auto alpha = wholeByteOf(alphaMask);
    const bool wholeBytes = shifts.red % 8 == 0 && shifts.green % 8 == 0 && shifts.blue % 8 == 0;
    if (pairs_.size() != 1 || !pairs_.front().transparent || !alpha || !wholeBytes) {
        return false;
    }
    const ChannelBytes channels{static_cast<std::uint8_t>(shifts.red / 8),
                                static_cast<std::uint8_t>(shifts.green / 8),
                                static_cast<std::uint8_t>(shifts.blue / 8), *alpha};
    const ColourPair& only = pairs_.front();
    const RunCounts run =
        recolourRun(pixels, 4, channels, only.from, only.to, tolerance_, nearMisses_, true);
    counts.pairs[0].pixelsChanged += run.pixelsChanged;
    counts.pairs[0].nearMisses += run.nearMisses;
    return true;
}

void ColourMap::recolourWithAlpha(std::span<std::uint8_t> pixels, const ChannelShifts& shifts,
                                  std::uint32_t alphaMask, WalkCounts& counts) const {
    if (recolourKeyRun(pixels, shifts, alphaMask, counts)) {
        return;
    }
    const auto channel = [](std::uint32_t value, std::uint8_t shift) {
        return static_cast<std::uint8_t>(value >> shift);
    };
    for (std::size_t offset = 0; offset + 4 <= pixels.size(); offset += 4) {
        std::uint8_t* pixel = pixels.data() + offset;
        const std::uint32_t value = std::uint32_t{pixel[0]} | std::uint32_t{pixel[1]} << 8 |
                                    std::uint32_t{pixel[2]} << 16 | std::uint32_t{pixel[3]} << 24;
        const Rgb colour{channel(value, shifts.red), channel(value, shifts.green),
                         channel(value, shifts.blue)};
        const auto match = matchOf(colour);
        if (!match) {
            if (countsNearMisses()) {
                countNearMiss(colour, counts);
            }
            continue;
        }
        const ColourPair& pair = pairs_[*match];
        std::uint32_t now = value & ~shifts.colourBits();
        if (pair.transparent) {
            now &= ~alphaMask;
        } else {
            now |= std::uint32_t{pair.to.red} << shifts.red |
                   std::uint32_t{pair.to.green} << shifts.green |
                   std::uint32_t{pair.to.blue} << shifts.blue;
        }
        if (now == value) {
            continue;
        }
        for (int i = 0; i < 4; ++i) {
            pixel[i] = static_cast<std::uint8_t>(now >> (8 * i));
        }
        ++counts.pairs[*match].pixelsChanged;
    }
}

std::uint64_t ColourMap::recolour(std::span<std::uint8_t> pixels) const {
    WalkCounts counts = freshCounts();
    recolour(pixels, counts);
    return counts.pixelsChanged();
}

} // namespace pixtint
