#pragma once

#include "conversion/ConversionRequest.h"
#include "conversion/ConversionResult.h"
#include "engine/ColourMap.h"
#include "engine/PosixFile.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace pixtint {

// The converted bytes of one file, made on demand and written nowhere: what a preview shows.
// Any range can be read, so a decoder that samples a large picture converts only the rows it
// reads. The file stays open while this lives.
class ConvertedPicture {
public:
    // Throws AppError: the file's own error, 5 for a width of 0 or less, 9 for a file of 54
    // bytes or less (no pixel to walk).
    ConvertedPicture(const std::filesystem::path& source, const ConversionRequest& request);

    std::uint64_t size() const { return size_; }
    bool grown() const { return !grownBytes_.empty(); }

    // Fills `buffer` with the converted bytes from `offset` on; answers the count, short only
    // at the end. Throws AppError when the file cannot be read.
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;

private:
    std::filesystem::path source_;
    UniqueFd file_;
    std::int32_t width_ = 0;
    ColourMap colours_;
    std::uint64_t size_ = 0;
    std::vector<std::uint8_t> grownBytes_; // the whole converted file when a row was added
};

} // namespace pixtint
