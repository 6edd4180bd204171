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
// its own, written apart from the program's, so that the tests of whole corpora do not check
// the program against itself. It knows the headers the program converts and nothing more.
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
        recolourPixels(after, header, *channels);
        return after;
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
    // Where a pixel, read as a little-endian number, keeps each channel's eight bits.
    struct Masks {
        std::uint32_t red = 0x00FF0000;
        std::uint32_t green = 0x0000FF00;
        std::uint32_t blue = 0x000000FF;
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

    std::optional<Rgb> replacementOf(Rgb colour) const {
        const auto near = [this](std::uint8_t a, std::uint8_t b) {
            return std::abs(int{a} - int{b}) <= tolerance_;
        };
        for (const ColourPair& pair : pairs_) {
            if (near(colour.red, pair.from.red) && near(colour.green, pair.from.green) &&
                near(colour.blue, pair.from.blue)) {
                return pair.to;
            }
        }
        return std::nullopt;
    }

    // The table follows the header; an index has `bits` bits, so no more entries than 2^bits
    // count, whatever the header declares. The 12-byte header has no count: its table of
    // three-byte entries fills the room before the pixels.
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
        for (std::uint64_t entry = 0; entry < count; ++entry) {
            const std::size_t at = tableAt + entry * entrySize;
            if (auto to = replacementOf({bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)})) {
                bytes[at] = to->blue;
                bytes[at + 1] = to->green;
                bytes[at + 2] = to->red;
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

    // Rows of whole pixels padded to four bytes, as many of them as the file holds; a pixel
    // the file's end cuts is left.
    void recolourPixels(Bytes& bytes, const Header& header, const Masks& channels) const {
        const std::uint64_t pixelSize = header.bits / 8;
        const std::uint64_t width = static_cast<std::uint64_t>(header.width);
        const std::uint64_t stride = (width * header.bits + 31) / 32 * 4;
        const std::uint64_t rows = static_cast<std::uint64_t>(std::abs(header.height));
        const auto [red, green, blue] = channels;
        const auto channel = [](std::uint32_t value, std::uint32_t mask) {
            return static_cast<std::uint8_t>((value & mask) >> std::countr_zero(mask));
        };
        const auto place = [](std::uint8_t value, std::uint32_t mask) {
            return std::uint32_t{value} << std::countr_zero(mask);
        };
        for (std::uint64_t row = 0; row < rows; ++row) {
            for (std::uint64_t x = 0; x < width; ++x) {
                const std::uint64_t at = header.pixelOffset + row * stride + x * pixelSize;
                if (at + pixelSize > bytes.size()) {
                    return;
                }
                std::uint32_t value = little(bytes, at, static_cast<unsigned>(pixelSize));
                const auto to = replacementOf(
                    {channel(value, red), channel(value, green), channel(value, blue)});
                if (!to) {
                    continue;
                }
                value = (value & ~(red | green | blue)) | place(to->red, red) |
                        place(to->green, green) | place(to->blue, blue);
                for (std::uint64_t i = 0; i < pixelSize; ++i) {
                    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
                }
            }
        }
    }

    std::vector<ColourPair> pairs_;
    int tolerance_;
};

} // namespace pixtint
