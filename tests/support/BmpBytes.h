#pragma once

#include <cstdint>
#include <vector>

namespace pixtint {

// Small BMP files made by the tests themselves.
struct Pixel {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// A bottom-up 24-bit BMP of width x height filled with `fill` (rows padded to 4 bytes).
std::vector<std::uint8_t> makeBmp24(int width, int height, Pixel fill);
// A BMP with the given bit count (8, 1, ...), its palette (if any) and pixels all zero.
std::vector<std::uint8_t> makeBmpWithBitCount(int width, int height, int bitCount);

// Sets the pixel at column x of picture row y (0 = top) of a bottom-up 24-bit BMP made above.
void setPixel(std::vector<std::uint8_t>& bmp, int x, int y, Pixel colour);

} // namespace pixtint
