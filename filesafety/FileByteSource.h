// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ByteSource.h"
#include "filesafety/PosixFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace pixtint {

// A regular file, open while this lives. Throws Error when it cannot be opened.
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(std::filesystem::path path, FinalLink link = FinalLink::Follow);

    std::uint64_t size() const override { return static_cast<std::uint64_t>(opened_.st_size); }
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    const std::filesystem::path& path() const override { return path_; }
    int descriptor() const { return file_.get(); }
    // The file as it was when opened; size() is its size then.
    const FileState& opened() const { return opened_; }

private:
    std::filesystem::path path_;
    FileState opened_{};
    UniqueFd file_;
};

} // namespace pixtint
