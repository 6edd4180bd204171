// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ColourMap.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pixtint {

// What kind of picture a file holds, in words for a report.
struct PictureFormat {
    unsigned bitsPerPixel = 0;
    std::string header;      // "Windows 3", "V5", "OS/2 1", ...
    std::string compression; // "none", "RLE8", "bit fields", ...
    bool alpha = false;      // 32-bit with an alpha mask
};

// What converting one file did (or, in a dry run, would do) to its bytes.
struct ConversionResult {
    std::uint64_t pixelsChanged = 0;  // pixels that took another colour (directly or through
                                      // their palette entry)
    std::uint64_t entriesChanged = 0; // palette entries that took another colour
    std::uint64_t nearMisses = 0;     // pixels within reach of a FROM colour, not matched
    WalkCounts counts;                // the same per pair, in the request's order
    bool grown = false;               // a 16 x 15 picture became 16 x 16
    std::string notGrown;             // why a 16 x 15 picture asked to grow was not
    PictureFormat format;
    // The kind the picture becomes, when that is not its own: a colour turned transparent
    // makes a picture without alpha 32-bit with alpha.
    std::optional<PictureFormat> newFormat;

    // False when the converted bytes are the file's own: there is nothing to write.
    bool changed() const { return grown || pixelsChanged > 0 || entriesChanged > 0; }
};

} // namespace pixtint
