#pragma once

#include "engine/ColourMap.h"

#include <cstdint>
#include <span>

namespace pixtint {

// Gives every pixel of `pixels` (whole blue-green-red triples, no padding) that has exactly
// the colour `before` the colour `after`; answers how many it found. The one-pair walk, the
// common case, sixteen pixels at a time where the processor allows.
std::uint64_t recolorRun(std::span<std::uint8_t> pixels, Rgb before, Rgb after);

} // namespace pixtint
