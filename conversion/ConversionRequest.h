// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ColourMap.h"

#include <cstdint>
#include <vector>

namespace pixtint {

// Where a 16 x 15 picture gets the row that makes it 16 x 16.
enum class Growth { None, Top, Bottom };

// What a conversion asks, whichever face asks it. The colours are plain RGB: a face resolves
// whatever it shows (a system colour, a typed colour) before it asks.
struct ConversionRequest {
    std::vector<ColourPair> pairs; // applied in one pass; the first pair that matches wins
    // 16 x 15 pictures only, filled with the first pair's colour (or transparency).
    Growth growth = Growth::None;
    bool keepBackup = false; // the original as NAME.bak (the name's last three bytes)
    // Largest difference on any channel at which a colour still matches a pair's FROM colour.
    std::uint8_t tolerance = 0;
    // Palette and 32-bit pictures as well as 24-bit ones (the command line); otherwise any
    // other kind is Unsupported.
    bool everyKind = false;
    // Pixels close to a FROM colour that did not match it, for the command line's report;
    // the window shows none and leaves the walk without that cost.
    NearMisses nearMisses = NearMisses::Ignored;
};

} // namespace pixtint
