#pragma once

#include "engine/ColourMap.h"

#include <vector>

namespace pixtint {

// Where a 16 x 15 picture gets the row that makes it 16 x 16.
enum class Growth { None, Top, Bottom };

// What a conversion asks, whichever face asks it. The colours are plain RGB: a face resolves
// whatever it shows (a system colour, a typed colour) before it asks.
struct ConversionRequest {
    std::vector<ColourPair> pairs; // applied in one pass; the first pair of a colour wins
    Growth growth = Growth::None;  // 16 x 15 pictures only, filled with the first pair's colour
    bool keepBackup = false;       // the original as NAME.bak (the name's last three bytes)
};

} // namespace pixtint
