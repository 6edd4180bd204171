// SPDX-License-Identifier: MIT
#include "engine/EntryUse.h"

#include "engine/ByteStream.h"
#include "engine/RleRuns.h"

#include <algorithm>

namespace pixtint {

namespace {

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

} // namespace

std::vector<std::uint64_t> countEntryUse(const ByteSource& source, const BmpLayout& layout) {
    ByteStream bytes(source, layout.pixelOffset);
    Counter counter(layout);
    if (layout.compressed()) {
        walkRle(bytes, layout,
                [&counter](std::uint64_t, std::uint64_t, std::span<const std::uint8_t> indices) {
                    for (const std::uint8_t index : indices) {
                        counter.draw(index);
                    }
                });
    } else {
        countRows(bytes, layout, counter);
    }
    return counter.take();
}

} // namespace pixtint
