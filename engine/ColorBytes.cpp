#include "BitmapRecolor.h"

namespace BitmapRecolor {

namespace {

std::uint8_t byteOf(ColorValue color, int shift) {
    return static_cast<std::uint8_t>((static_cast<std::uint32_t>(color) >> shift) & 0xFFu);
}

} // namespace

std::uint8_t ColorToRed(ColorValue color) {
    return byteOf(color, 0);
}

std::uint8_t ColorToGreen(ColorValue color) {
    return byteOf(color, 8);
}

std::uint8_t ColorToBlue(ColorValue color) {
    return byteOf(color, 16);
}

Rgb ColorToRgb(ColorValue color) {
    return {ColorToRed(color), ColorToGreen(color), ColorToBlue(color)};
}

ColorValue RgbToColor(Rgb rgb) {
    return static_cast<ColorValue>(std::uint32_t{rgb.red} | std::uint32_t{rgb.green} << 8 |
                                   std::uint32_t{rgb.blue} << 16);
}

} // namespace BitmapRecolor
