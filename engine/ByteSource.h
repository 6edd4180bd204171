// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace pixtint {

// Bytes that can be read at any offset: a file as it is, or a file as a conversion would
// make it. A picture decoder reads either one the same way.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    virtual std::uint64_t size() const = 0;
    // Fills `buffer` from `offset` on; answers the count, short only at the end. Throws
    // Error when the bytes cannot be read.
    virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const = 0;
    // Where the bytes come from, for error messages.
    virtual const std::filesystem::path& path() const = 0;
};

} // namespace pixtint
