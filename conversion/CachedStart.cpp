// SPDX-License-Identifier: MIT
#include "conversion/CachedStart.h"

#include <algorithm>

namespace pixtint {

CachedStart::CachedStart(const ByteSource& source)
    : source_(source)
    , start_(static_cast<std::size_t>(std::min(source.size(), CachedBytes))) {
    start_.resize(source.readAt(0, start_));
    whole_ = start_.size() < CachedBytes;
}

std::uint64_t CachedStart::size() const {
    return whole_ ? start_.size() : source_.size();
}

std::size_t CachedStart::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    if (!whole_ && offset + buffer.size() > start_.size()) {
        return source_.readAt(offset, buffer);
    }
    const std::size_t from =
        static_cast<std::size_t>(std::min<std::uint64_t>(offset, start_.size()));
    const std::size_t count = std::min(buffer.size(), start_.size() - from);
    std::copy_n(start_.begin() + static_cast<std::ptrdiff_t>(from), count, buffer.begin());
    return count;
}

} // namespace pixtint
