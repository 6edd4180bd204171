// SPDX-License-Identifier: MIT
#include "engine/RleRuns.h"

#include "engine/ByteStream.h"
#include "engine/Error.h"

#include <algorithm>
#include <array>
#include <string>

namespace pixtint {

namespace {

Error damaged(const char* what) {
    return Error(ErrorKind::NotAPicture, {}, std::string("damaged RLE data: ") + what,
                 Refusal(Refused::Damaged));
}

// Pairs of a count and what to draw; a count of 0 starts an escape: end of row, end of
// picture, a move, or a run of literal indices padded to a 16-bit boundary.
class RleWalk {
public:
    RleWalk(ByteStream& bytes, const BmpLayout& layout, const RleDraw& draw)
        : bytes_(bytes)
        , draw_(draw)
        , four_(layout.bitsPerPixel == 4)
        , width_(static_cast<std::uint64_t>(layout.width))
        , rows_(layout.rowCount) {}

    RleEnd run() {
        for (;;) {
            const std::uint64_t at = bytes_.offset();
            const int count = byte();
            const int value = byte();
            if (count > 0) {
                encoded(static_cast<unsigned>(count), static_cast<std::uint8_t>(value));
            } else if (value == 0) {
                x_ = 0;
                ++y_;
            } else if (value == 1) {
                return {at, y_, x_};
            } else if (value == 2) {
                x_ += static_cast<unsigned>(byte());
                y_ += static_cast<unsigned>(byte());
                if (x_ > width_ || y_ > rows_) {
                    throw damaged("a move past the picture");
                }
            } else {
                literal(static_cast<unsigned>(value));
            }
        }
    }

private:
    int byte() {
        const int value = bytes_.next();
        if (value < 0) {
            throw damaged("no end-of-picture code");
        }
        return value;
    }

    void checkRoom(unsigned count) const {
        if (y_ >= rows_ || x_ + count > width_) {
            throw damaged("a run past the row");
        }
    }

    void place(unsigned count) {
        draw_(y_, x_, std::span(indices_).first(count));
        x_ += count;
    }

    // RLE4 alternates the two indices of its byte.
    void encoded(unsigned count, std::uint8_t value) {
        checkRoom(count);
        for (unsigned i = 0; i < count; ++i) {
            indices_[i] = !four_ ? value : i % 2 == 0 ? value >> 4 : value & 15;
        }
        place(count);
    }

    void literal(unsigned count) {
        checkRoom(count);
        const unsigned dataBytes = four_ ? (count + 1) / 2 : count;
        for (unsigned i = 0; i < dataBytes; ++i) {
            const auto value = static_cast<std::uint8_t>(byte());
            if (!four_) {
                indices_[i] = value;
                continue;
            }
            indices_[2 * i] = value >> 4;
            indices_[2 * i + 1] = value & 15;
        }
        if (dataBytes % 2 == 1) {
            byte();
        }
        place(count);
    }

    ByteStream& bytes_;
    const RleDraw& draw_;
    bool four_;
    std::uint64_t width_;
    std::uint64_t rows_;
    std::uint64_t x_ = 0;
    std::uint64_t y_ = 0;
    std::array<std::uint8_t, 256> indices_{}; // one run's
};

} // namespace

RleEnd walkRle(ByteStream& bytes, const BmpLayout& layout, const RleDraw& draw) {
    return RleWalk(bytes, layout, draw).run();
}

namespace {

constexpr std::uint8_t Escape = 0;
constexpr std::uint8_t EndOfRow = 0;
constexpr std::uint8_t Move = 2;
constexpr std::uint64_t LongestRun = 255;

} // namespace

std::vector<std::uint8_t> encodedIndexRow(const BmpLayout& layout, unsigned index) {
    // An RLE4 run alternates the two indices of its byte: the same one twice.
    const auto value =
        static_cast<std::uint8_t>(layout.bitsPerPixel == 4 ? index << 4 | index : index);
    std::vector<std::uint8_t> row;
    for (auto left = static_cast<std::uint64_t>(layout.width); left > 0;) {
        const std::uint64_t count = std::min(left, LongestRun);
        row.push_back(static_cast<std::uint8_t>(count));
        row.push_back(value);
        left -= count;
    }
    row.push_back(Escape);
    row.push_back(EndOfRow);
    return row;
}

std::optional<std::vector<std::uint8_t>> codesToRow(const RleEnd& end, std::uint64_t row) {
    std::vector<std::uint8_t> codes;
    std::uint64_t reached = end.row;
    if (end.column > 0) {
        codes.insert(codes.end(), {Escape, EndOfRow});
        ++reached;
    }
    if (reached > row) {
        return std::nullopt;
    }
    for (std::uint64_t up = row - reached; up > 0;) {
        const std::uint64_t step = std::min(up, LongestRun);
        codes.insert(codes.end(), {Escape, Move, 0, static_cast<std::uint8_t>(step)});
        up -= step;
    }
    return codes;
}

} // namespace pixtint
