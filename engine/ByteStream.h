// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ByteSource.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pixtint {

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

    // The offset of the byte next() answers next.
    std::uint64_t offset() const { return offset_ + position_; }

    void skip(std::uint64_t count) {
        const std::uint64_t inBuffer = std::min<std::uint64_t>(count, filled_ - position_);
        position_ += inBuffer;
        offset_ += count - inBuffer;
    }

private:
    static constexpr std::uint64_t LargestBuffer = std::uint64_t{1} << 16;

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

} // namespace pixtint
