// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ByteSource.h"
#include "engine/Error.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace pixtint {

// Bytes made in memory for the core's tests, read as a file would be.
using Bytes = std::vector<std::uint8_t>;

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const auto& part : parts) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

// The Error that `operation` throws, if any.
std::optional<Error> errorOf(auto&& operation) {
    try {
        operation();
    } catch (const Error& error) {
        return error;
    }
    return std::nullopt;
}

// The kind of the Error that `operation` throws, or nothing when it throws none.
std::optional<ErrorKind> errorKindOf(auto&& operation) {
    const auto error = errorOf(operation);
    return error ? std::optional(error->kind()) : std::nullopt;
}

// The errno of the failed system call `operation` throws, or 0.
int errnoOf(auto&& operation) {
    const auto error = errorOf(operation);
    return error ? error->systemError() : 0;
}

// Bytes in memory, read as a file would be; `read` counts the bytes read.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(Bytes bytes)
        : bytes_(std::move(bytes)) {}

    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override {
        const std::size_t from = std::min<std::uint64_t>(offset, bytes_.size());
        const std::size_t count = std::min(buffer.size(), bytes_.size() - from);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(from), count, buffer.begin());
        read += count;
        return count;
    }
    const std::filesystem::path& path() const override { return path_; }

    mutable std::uint64_t read = 0;

private:
    Bytes bytes_;
    std::filesystem::path path_{"memory.bmp"};
};

} // namespace pixtint
