// SPDX-License-Identifier: MIT
#pragma once

#include "engine/PosixFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <sys/stat.h>

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

// A regular file, open while this lives. Throws Error when it cannot be opened.
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(std::filesystem::path path);

    std::uint64_t size() const override { return static_cast<std::uint64_t>(opened_.st_size); }
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    const std::filesystem::path& path() const override { return path_; }
    int descriptor() const { return file_.get(); }
    // The file as it was when opened; size() is its size then.
    const struct stat& opened() const { return opened_; }

private:
    std::filesystem::path path_;
    struct stat opened_ {};
    UniqueFd file_;
};

} // namespace pixtint
