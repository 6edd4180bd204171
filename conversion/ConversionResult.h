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
    // Per pair, in the request's order, and in total: the pixels that took another colour
    // (directly or through their palette entry), the palette entries that did, and the pixels
    // within reach of a FROM colour that were not matched.
    WalkCounts counts;
    bool grown = false;   // a 16 x 15 picture became 16 x 16
    std::string notGrown; // why a 16 x 15 picture asked to grow was not
    PictureFormat format;
    // The kind the picture becomes, when that is not its own: a colour turned transparent
    // makes a picture without alpha 32-bit with alpha.
    std::optional<PictureFormat> newFormat;

    // False when the converted bytes are the file's own: there is nothing to write.
    bool changed() const {
        return grown || counts.pixelsChanged() > 0 || counts.entriesChanged() > 0;
    }
};

} // namespace pixtint
