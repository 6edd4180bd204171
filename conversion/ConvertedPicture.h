// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionRequest.h"
#include "conversion/FileConversion.h"
#include "engine/ByteSource.h"
#include "engine/PixelRows.h"
#include "filesafety/FileByteSource.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace pixtint {

// The converted bytes of one file, made on demand and written nowhere: what a preview shows.
// Any range can be read, so a decoder that samples a large picture converts only the rows it
// reads. The file stays open while this lives.
class ConvertedPicture : public ByteSource {
public:
    // Throws Error: the file's own error, or those of planConversion.
    ConvertedPicture(const std::filesystem::path& source, const ConversionRequest& request);

    std::uint64_t size() const override;
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    const std::filesystem::path& path() const override { return file_.path(); }

    bool grown() const { return plan_.result.grown; }

private:
    FileByteSource file_;
    ConversionPlan plan_;
    std::optional<PixelRows> rows_;
    // The whole converted file when its bytes are made anew (a row added, a new kind).
    std::vector<std::uint8_t> wholeBytes_;
};

} // namespace pixtint
