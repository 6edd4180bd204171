// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ColourMap.h"

#include <cstdint>
#include <span>

namespace pixtint {

struct RunCounts {
    std::uint64_t pixelsChanged = 0; // matched pixels that were not already the new colour
    std::uint64_t nearMisses = 0;    // within NearMissReach of the colour but not matched
};

// The one-pair walk, the common case, sixteen pixels at a time where the processor allows:
// every pixel within `tolerance` of `from` on each channel becomes `to`. `pixels` holds
// whole pixels of `pixelSize` bytes (3: blue, green, red; 4: the channels where `channels`
// says, the fourth byte kept), no padding. Near misses are counted only when asked for.
// `transparent`: four-byte pixels whose fourth byte is their alpha; a matched pixel becomes
// all zeros (colour and alpha 0) instead of `to`.
RunCounts recolourRun(std::span<std::uint8_t> pixels, std::size_t pixelSize,
                      const ChannelBytes& channels, Rgb from, Rgb to, std::uint8_t tolerance,
                      NearMisses nearMisses, bool transparent = false);

} // namespace pixtint
