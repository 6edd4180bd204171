// SPDX-License-Identifier: MIT
#include "engine/EntryUse.h"

#include "engine/ByteSource.h"
#include "engine/Error.h"

#include <algorithm>

namespace pixtint {

namespace {

constexpr std::uint64_t LargestBuffer = std::uint64_t{1} << 16;

// The file's bytes from an offset on, one at a time, through a buffer.
class ByteStream {
public:
    // The buffer is no larger than the bytes left, so that an icon costs a few bytes.
    ByteStream(const ByteSource& source, std::uint64_t offset)
        : source_(source)
        , offset_(offset)
        , buffer_(static_cast<std::size_t>(std::clamp<std::uint64_t>(
              source.size() > offset ? source.size() - offset + 1 : 1, 1, LargestBuffer))) {}

    // The next byte, or -1 at the end of the file.
    int next() {
        if (position_ == filled_ && !refill()) {
            return -1;
        }
        return buffer_[position_++];
    }

    void skip(std::uint64_t count) {
        const std::uint64_t inBuffer = std::min<std::uint64_t>(count, filled_ - position_);
        position_ += inBuffer;
        offset_ += count - inBuffer;
    }

private:
    bool refill() {
        offset_ += filled_;
        filled_ = source_.readAt(offset_, buffer_);
        position_ = 0;
        return filled_ > 0;
    }

    const ByteSource& source_;
    std::uint64_t offset_; // of the buffer's first byte
    std::vector<std::uint8_t> buffer_;
    std::size_t filled_ = 0;
    std::size_t position_ = 0;
};

class Counter {
public:
    explicit Counter(const BmpLayout& layout)
        : use_(layout.entryCount, 0) {}

    void draw(unsigned index, std::uint64_t pixels = 1) {
        if (index < use_.size()) {
            use_[index] += pixels;
        }
    }

    std::vector<std::uint64_t> take() { return std::move(use_); }

private:
    std::vector<std::uint64_t> use_;
};

void countRows(ByteStream& bytes, const BmpLayout& layout, Counter& counter) {
    const unsigned bits = layout.bitsPerPixel;
    const unsigned perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    const std::uint64_t width = static_cast<std::uint64_t>(layout.width);
    const std::uint64_t rowBytes = (width * bits + 7) / 8;
    for (std::uint64_t row = 0; row < layout.rowCount; ++row) {
        std::uint64_t column = 0;
        for (std::uint64_t i = 0; i < rowBytes; ++i) {
            const int byte = bytes.next();
            if (byte < 0) {
                return; // a short file: its rows end here
            }
            for (unsigned p = 0; p < perByte && column < width; ++p, ++column) {
                counter.draw((static_cast<unsigned>(byte) >> (8 - bits * (p + 1))) & mask);
            }
        }
        bytes.skip(layout.stride - rowBytes);
    }
}

Error damaged(const char* what) {
    return Error(ErrorKind::NotAPicture, {}, std::string("damaged RLE data: ") + what,
                 Refusal(Refused::Damaged));
}

// RLE8 and RLE4: pairs of a count and what to draw; a count of 0 starts an escape: end of
// row, end of picture, a move, or a run of literal indices padded to a 16-bit boundary.
class RleWalk {
public:
    RleWalk(ByteStream& bytes, const BmpLayout& layout, Counter& counter)
        : bytes_(bytes)
        , counter_(counter)
        , four_(layout.bitsPerPixel == 4)
        , width_(static_cast<std::uint64_t>(layout.width))
        , rows_(layout.rowCount) {}

    void run() {
        for (;;) {
            const int count = byte();
            const int value = byte();
            if (count > 0) {
                encoded(static_cast<unsigned>(count), static_cast<unsigned>(value));
            } else if (value == 0) {
                x_ = 0;
                ++y_;
            } else if (value == 1) {
                return;
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

    void place(unsigned count) {
        if (y_ >= rows_ || x_ + count > width_) {
            throw damaged("a run past the row");
        }
        x_ += count;
    }

    void encoded(unsigned count, unsigned value) {
        place(count);
        if (!four_) {
            counter_.draw(value, count);
            return;
        }
        counter_.draw(value >> 4, (count + 1) / 2);
        counter_.draw(value & 15, count / 2);
    }

    void literal(unsigned count) {
        place(count);
        const unsigned dataBytes = four_ ? (count + 1) / 2 : count;
        for (unsigned i = 0, drawn = 0; i < dataBytes; ++i) {
            const auto value = static_cast<unsigned>(byte());
            if (!four_) {
                counter_.draw(value);
                continue;
            }
            counter_.draw(value >> 4);
            ++drawn;
            if (drawn < count) {
                counter_.draw(value & 15);
                ++drawn;
            }
        }
        if (dataBytes % 2 == 1) {
            byte();
        }
    }

    ByteStream& bytes_;
    Counter& counter_;
    bool four_;
    std::uint64_t width_;
    std::uint64_t rows_;
    std::uint64_t x_ = 0;
    std::uint64_t y_ = 0;
};

} // namespace

std::vector<std::uint64_t> countEntryUse(const ByteSource& source, const BmpLayout& layout) {
    ByteStream bytes(source, layout.pixelOffset);
    Counter counter(layout);
    if (layout.compressed()) {
        RleWalk(bytes, layout, counter).run();
    } else {
        countRows(bytes, layout, counter);
    }
    return counter.take();
}

} // namespace pixtint
