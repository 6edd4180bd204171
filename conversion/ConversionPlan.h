// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionResult.h"
#include "engine/BmpLayout.h"
#include "engine/ByteSource.h"
#include "engine/ColourMap.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace pixtint {

// A picture without alpha whose colour turns transparent is written anew as 32-bit rows.
struct AlphaPlan {
    std::vector<std::uint8_t> palette; // the colour table's bytes, for a palette picture
    bool newRowFirst = false;          // a grown picture's row comes before its stored rows
};

// How one file is converted, decided from its header (and, for a palette picture, its
// pixels) before any byte is written. The converted file is `head` in place of the source's
// bytes before `headEnd`, then the source's bytes with their pixels recoloured, and for a
// grown picture `newRow` before the source's byte at `newRowAt`. A picture that becomes 32-bit
// with alpha is `head` (its new headers), then its rows made 32-bit and recoloured, with
// `newRow` before or after them when it grows.
struct ConversionPlan {
    ConversionPlan(BmpLayout layout, ColourMap colours)
        : layout(std::move(layout))
        , colours(std::move(colours)) {}

    BmpLayout layout;
    ColourMap colours;
    std::vector<std::uint8_t> head;
    std::uint64_t headEnd = 0;
    std::optional<std::uint64_t> newRowAt;
    std::vector<std::uint8_t> newRow;
    ConversionResult result; // all but the counts of the pixel walk
    std::optional<AlphaPlan> alpha;

    bool walksPixels() const { return layout.colours != ColourLayout::Palette; }
    // Whether the converted bytes are all made anew rather than the source's own, changed.
    bool rewritesWhole() const { return newRowAt.has_value() || alpha.has_value(); }
};

// `count` bytes of `source` from `offset` on. Throws Error: TooShort when the source ends
// before them, and the errors of reading it.
std::vector<std::uint8_t> readExactly(const ByteSource& source, std::uint64_t offset,
                                      std::uint64_t count);

using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// Large enough that system calls cost nothing next to the copying, small enough to stay in
// the cache while a chunk is recoloured and written.
inline constexpr std::size_t ConversionChunkSize = std::size_t{1} << 20;

} // namespace pixtint
