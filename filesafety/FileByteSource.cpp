// SPDX-License-Identifier: MIT
#include "filesafety/FileByteSource.h"

namespace pixtint {

FileByteSource::FileByteSource(std::filesystem::path path, FinalLink link)
    : path_(std::move(path))
    , file_(openRegularFileForReading(path_, &opened_, link)) {}

std::size_t FileByteSource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    return readFullyAt(file_.get(), offset, buffer, path_);
}

} // namespace pixtint
