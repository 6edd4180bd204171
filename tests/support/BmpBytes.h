// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace pixtint {

// BMP files made on the spot by the tests, the benchmarks and the fuzzer.
struct Pixel {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// A bottom-up 24-bit BMP of width x height filled with `fill` (rows padded to 4 bytes).
std::vector<std::uint8_t> makeBmp24(int width, int height, Pixel fill);
// A BMP with the given bit count (8, 1, ...), its palette (if any) and pixels all zero.
std::vector<std::uint8_t> makeBmpWithBitCount(int width, int height, int bitCount);

// Any kind of BMP, laid out as given: the file header, an information header of
// `headerSize` bytes (12 for the OS/2 one), masks after a 40-byte header when its compression
// asks for them (inside a larger header otherwise), the colour table, `gap`, the stored pixel
// data as given, then `tail`. The sizes in the headers follow from these.
struct BmpRecipe {
    int width = 16;
    int height = 15; // negative: top-down
    int bitCount = 24;
    std::uint32_t headerSize = 40;
    std::uint32_t compression = 0;
    std::vector<Pixel> palette;
    std::uint32_t coloursUsed = 0xFFFFFFFF; // the palette's size unless given
    std::uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF,
                              0xFF000000}; // red, green, blue, alpha
    std::vector<std::uint8_t> gap;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> tail;
};
std::vector<std::uint8_t> makeBmp(const BmpRecipe& recipe);
// Where makeBmp puts the pixel data.
std::size_t pixelOffsetOf(const BmpRecipe& recipe);
// Stored rows of `stride(width, bitCount)` bytes each.
std::size_t strideFor(int width, int bitCount);

// Stored rows of a picture `width` x `height`, each padded to four bytes, the picture's bottom
// row first unless `topDown`: `pixel` appends the bytes of column x of picture row y (0 = top).
using PixelWriter = std::function<void(std::vector<std::uint8_t>& row, int x, int y)>;
std::vector<std::uint8_t> storedRows(int bitCount, bool topDown, int width, int height,
                                     const PixelWriter& pixel);

// Sets the pixel at column x of picture row y (0 = top) of a bottom-up 24-bit BMP made above.
void setPixel(std::vector<std::uint8_t>& bmp, int x, int y, Pixel colour);

} // namespace pixtint
