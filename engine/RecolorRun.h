#pragma once

#include "engine/BitmapRecolor.h"

#include <cstdint>
#include <span>

namespace pixtint {

// Gives every pixel of `pixels` (whole blue-green-red triples, no padding) that has exactly
// the colour `before` the colour `after`.
void recolorRun(std::span<std::uint8_t> pixels, Rgb before, Rgb after);

} // namespace pixtint
