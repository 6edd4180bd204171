// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionRequest.h"
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

// Reads and checks what the conversion needs. Throws Error: those of readBmpLayout;
// Unsupported for a picture that is not 24-bit unless the request takes every kind, or too
// large to become 32-bit with alpha; Truncated for a 16 x 15 picture to be grown, or a picture
// to become 32-bit with alpha, whose rows are not all in the file, or a compressed one to be
// grown at the top whose data ends past its top row; NoPaletteRoom for a
// grown palette picture with no entry of the new row's colour, no room for one, and every
// entry drawn by some pixel; the errors of reading the source.
ConversionPlan planConversion(const ByteSource& source, const ConversionRequest& request);

// `count` bytes of `source` from `offset` on. Throws Error: TooShort when the source ends
// before them, and the errors of reading it.
std::vector<std::uint8_t> readExactly(const ByteSource& source, std::uint64_t offset,
                                      std::uint64_t count);

using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// Large enough that system calls cost nothing next to the copying, small enough to stay in
// the cache while a chunk is recoloured and written.
inline constexpr std::size_t ConversionChunkSize = std::size_t{1} << 20;

// Streams the converted bytes of `source` to `sink`, in order, in chunks of at most
// `largestChunk` bytes (64 at least). Memory stays at one chunk whatever the file's size.
// Throws as planConversion, and the errors of reading the source.
ConversionResult convertFile(const ByteSource& source, const ConversionRequest& request,
                             const ByteSink& sink, std::size_t largestChunk = ConversionChunkSize);

} // namespace pixtint
