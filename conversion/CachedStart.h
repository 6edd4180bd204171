// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace pixtint {

// A source's first bytes, read once: the signature test, the header, the palette, its pixel
// counts and the whole of a small file all come from them without another system call. The
// read asks for the size the source had when it was opened, not one byte more to see its
// end: a file written since then is caught by the change check before its commit, so a small
// file is converted as this one read found it.
class CachedStart : public ByteSource {
public:
    explicit CachedStart(const ByteSource& source);

    std::uint64_t size() const override;
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    // The whole file as read, when it ended within the cached bytes; empty otherwise.
    std::span<const std::uint8_t> whole() const {
        return whole_ ? std::span<const std::uint8_t>(start_) : std::span<const std::uint8_t>();
    }
    const std::filesystem::path& path() const override { return source_.path(); }

    static constexpr std::uint64_t CachedBytes = 16 * 1024;

private:
    const ByteSource& source_;
    std::vector<std::uint8_t> start_;
    bool whole_ = false; // the file ends within the cached bytes
};

} // namespace pixtint
