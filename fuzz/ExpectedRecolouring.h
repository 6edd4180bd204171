// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ColourMap.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace pixtint {

// What a recoloured BMP file must hold, worked out from the file format alone: a reader of
// its own, written apart from the program's, so that the fuzzer does not check the program
// against itself. It knows the headers the program converts and nothing more.
class ExpectedRecolouring {
public:
    using Bytes = std::vector<std::uint8_t>;

    ExpectedRecolouring(std::vector<ColourPair> pairs, std::uint8_t tolerance)
        : pairs_(std::move(pairs))
        , tolerance_(tolerance) {}

    // `before` with every palette entry, or every pixel of a 24- or 32-bit picture, that a
    // pair matches in its pair's TO colour; nothing else changed. Answers nothing, with the
    // reason in `why`, for a file this reader cannot tell the colours of.
    std::optional<Bytes> of(const Bytes& before, std::string& why) const {
        if (before.size() < 26 || before[0] != 'B' || before[1] != 'M') {
            why = "not a BMP file";
            return std::nullopt;
        }
        const Header header = readHeader(before);
        Bytes after = before;
        if (header.bits <= 8) {
            recolourTable(after, header);
            return after;
        }
        if (header.bits != 24 && header.bits != 32) {
            why = std::to_string(header.bits) + "-bit pixels";
            return std::nullopt;
        }
        const auto channels = channelsOf(before, header);
        if (!channels) {
            why = "colour masks that are not eight bits each";
            return std::nullopt;
        }
        Counts ignored;
        recolourRows(after, rowsOf(header), *channels, ignored);
        return after;
    }

    // What a recolouring changed, as the program counts it: pixels (a table entry counts as
    // the pixels drawn with it), table entries, and near misses (pixels that no pair matched
    // within eight of a pair's FROM colour on every channel).
    struct Counts {
        std::uint64_t pixelsChanged = 0;
        std::uint64_t entriesChanged = 0;
        std::uint64_t nearMisses = 0;
    };
    // Where a pixel, read as a little-endian number, keeps each channel's eight bits.
    struct Masks {
        std::uint32_t red = 0x00FF0000;
        std::uint32_t green = 0x0000FF00;
        std::uint32_t blue = 0x000000FF;
    };
    // Rows of whole pixels of `size` bytes from `offset` on, padded to `stride`, as many of
    // them as the file holds; a pixel the file's end cuts is left.
    struct Rows {
        std::uint64_t offset = 0;
        std::uint64_t stride = 0;
        std::uint64_t count = 0;
        std::uint64_t width = 0;
        unsigned size = 3;
    };

    // The colour at `at`, its channels where `masks` put them in `size` bytes, in the TO colour
    // of the first pair that matches it; counted as `weight` pixels, and as an entry if
    // `entry`. Every other bit stays.
    void recolour(Bytes& bytes, std::uint64_t at, unsigned size, const Masks& masks, Counts& counts,
                  std::uint64_t weight = 1, bool entry = false) const {
        std::uint32_t value = little(bytes, at, size);
        const Rgb colour{channel(value, masks.red), channel(value, masks.green),
                         channel(value, masks.blue)};
        const ColourPair* pair = firstWithin(colour, tolerance_);
        if (!pair) {
            counts.nearMisses += firstWithin(colour, NearReach) ? weight : 0;
            return;
        }
        if (pair->to == colour) {
            return;
        }
        value = (value & ~(masks.red | masks.green | masks.blue)) | place(pair->to.red, masks.red) |
                place(pair->to.green, masks.green) | place(pair->to.blue, masks.blue);
        for (unsigned i = 0; i < size; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        counts.pixelsChanged += weight;
        counts.entriesChanged += entry ? 1 : 0;
    }

    void recolourRows(Bytes& bytes, const Rows& rows, const Masks& masks, Counts& counts) const {
        for (std::uint64_t row = 0; row < rows.count; ++row) {
            for (std::uint64_t x = 0; x < rows.width; ++x) {
                const std::uint64_t at = rows.offset + row * rows.stride + x * rows.size;
                if (at + rows.size > bytes.size()) {
                    return;
                }
                recolour(bytes, at, rows.size, masks, counts);
            }
        }
    }

    // How many pixels the stored rows of `bits`-bit indices draw with each of `entries`
    // entries; an index past them draws nothing.
    static std::vector<std::uint64_t> entryUse(const Bytes& bytes, const Rows& rows, unsigned bits,
                                               std::uint64_t entries) {
        std::vector<std::uint64_t> use(entries, 0);
        for (std::uint64_t row = 0; row < rows.count; ++row) {
            for (std::uint64_t x = 0; x < rows.width; ++x) {
                const std::uint64_t bit = x * bits;
                const std::uint64_t at = rows.offset + row * rows.stride + bit / 8;
                if (at >= bytes.size()) {
                    return use;
                }
                const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
                const unsigned index = (bytes[at] >> shift) & ((1u << bits) - 1);
                if (index < use.size()) {
                    ++use[index];
                }
            }
        }
        return use;
    }

private:
    struct Header {
        std::uint32_t size = 0; // of the information header
        std::int64_t width = 0;
        std::int64_t height = 0;
        unsigned bits = 0;
        std::uint32_t compression = 0;
        std::uint32_t coloursUsed = 0; // 0 where the header has no such field
        std::uint64_t pixelOffset = 0;
    };

    static std::uint32_t little(const Bytes& bytes, std::size_t at, unsigned count) {
        std::uint32_t value = 0;
        for (unsigned i = 0; i < count; ++i) {
            value |= std::uint32_t{bytes.at(at + i)} << (8 * i);
        }
        return value;
    }

    static Header readHeader(const Bytes& bytes) {
        Header header;
        header.size = little(bytes, 14, 4);
        header.pixelOffset = little(bytes, 10, 4);
        if (header.size == 12) { // 16-bit fields, no compression
            header.width = little(bytes, 18, 2);
            header.height = little(bytes, 20, 2);
            header.bits = little(bytes, 24, 2);
            return header;
        }
        header.width = static_cast<std::int32_t>(little(bytes, 18, 4));
        header.height = static_cast<std::int32_t>(little(bytes, 22, 4));
        header.bits = little(bytes, 28, 2);
        header.compression = header.size >= 20 ? little(bytes, 30, 4) : 0;
        header.coloursUsed = header.size >= 36 ? little(bytes, 46, 4) : 0;
        return header;
    }

    // How near a colour that no pair matched must be to count as a near miss.
    static constexpr int NearReach = 8;

    const ColourPair* firstWithin(Rgb colour, int reach) const {
        const auto near = [reach](std::uint8_t a, std::uint8_t b) {
            return std::abs(int{a} - int{b}) <= reach;
        };
        for (const ColourPair& pair : pairs_) {
            if (near(colour.red, pair.from.red) && near(colour.green, pair.from.green) &&
                near(colour.blue, pair.from.blue)) {
                return &pair;
            }
        }
        return nullptr;
    }

    static std::uint8_t channel(std::uint32_t value, std::uint32_t mask) {
        return static_cast<std::uint8_t>((value & mask) >> std::countr_zero(mask));
    }
    static std::uint32_t place(std::uint8_t value, std::uint32_t mask) {
        return std::uint32_t{value} << std::countr_zero(mask);
    }

    static Rows rowsOf(const Header& header) {
        const std::uint64_t width = static_cast<std::uint64_t>(header.width);
        return {header.pixelOffset, (width * header.bits + 31) / 32 * 4,
                static_cast<std::uint64_t>(std::abs(header.height)), width, header.bits / 8};
    }

    // The table follows the header; an index has `bits` bits, so no more entries than 2^bits
    // count, whatever the header declares. The 12-byte header has no count: its table of
    // three-byte entries fills the room before the pixels. An entry no stored pixel draws
    // keeps its colour; compressed data, which this reader does not decode, draws them all.
    void recolourTable(Bytes& bytes, const Header& header) const {
        const std::uint64_t tableAt = 14 + header.size;
        const std::uint64_t indexable = std::uint64_t{1} << header.bits;
        const std::uint64_t entrySize = header.size == 12 ? 3 : 4;
        std::uint64_t count = header.coloursUsed == 0
                                  ? indexable
                                  : std::min<std::uint64_t>(header.coloursUsed, indexable);
        if (header.size == 12) {
            count = std::min(indexable, (std::max(header.pixelOffset, tableAt) - tableAt) / 3);
        }
        const bool drawsAll = header.compression != 0 || header.bits == 0 || header.width <= 0;
        const auto use = drawsAll ? std::vector<std::uint64_t>(count, 1)
                                  : entryUse(bytes, rowsOf(header), header.bits, count);
        Counts ignored;
        for (std::uint64_t entry = 0; entry < count; ++entry) {
            if (use[entry] > 0) {
                recolour(bytes, tableAt + entry * entrySize, 3, Masks{}, ignored);
            }
        }
    }

    // Blue, green, red from the lowest byte up, unless a 32-bit picture gives its masks.
    static std::optional<Masks> channelsOf(const Bytes& bytes, const Header& header) {
        Masks result;
        const bool masked =
            header.bits == 32 && (header.compression == 3 || header.compression == 6);
        if (!masked) {
            return result;
        }
        // After a 40-byte header, or at the same place inside a larger one.
        result = {little(bytes, 54, 4), little(bytes, 58, 4), little(bytes, 62, 4)};
        for (const std::uint32_t mask : {result.red, result.green, result.blue}) {
            if (mask == 0 || mask >> std::countr_zero(mask) != 0xFF) {
                return std::nullopt;
            }
        }
        return result;
    }

    std::vector<ColourPair> pairs_;
    int tolerance_;
};

} // namespace pixtint
