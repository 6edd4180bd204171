#pragma once

#include "engine/ColourMap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixtint {

// The one shape the row insertion works on: a 774-byte, 16 x 15, bottom-up picture becomes
// an 822-byte 16 x 16 one.
inline constexpr std::size_t GrownPictureSize = 822;

// Grows `bytes`, the first (at most 822) bytes of a 16 x 15 picture, to 16 x 16 with one row
// of `fill` at the top or the bottom. It patches single header bytes (the file size's low
// byte, the height's low byte, the pixel-data size's low two bytes) and works at fixed
// offsets; the result is always 822 bytes. Throws Error (Truncated) when `bytes` is too short to
// hold the patched header (36 bytes).
std::vector<std::uint8_t> grownTo16x16(std::vector<std::uint8_t> bytes, bool atTop, Rgb fill);

} // namespace pixtint
