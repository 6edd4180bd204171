// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace pixtint {

class ByteSource;

// A picture's width and height in pixels, as its header gives them (a top-down picture has a
// negative height).
struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Reads the two fields from the header, whichever kind it is. Throws Error: the file's own error, or TooShort for a
// file too short to hold them.
PictureSize readPictureSize(const ByteSource& source);

} // namespace pixtint
