#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
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

// Sets the pixel at column x of picture row y (0 = top) of a bottom-up 24-bit BMP made above.
void setPixel(std::vector<std::uint8_t>& bmp, int x, int y, Pixel colour);

// Fills the pixels of picture row y (0 = top): `row` holds `width` blue-green-red triples,
// without the padding.
using RowFiller = std::function<void(int y, std::span<std::uint8_t> row)>;

// Writes a bottom-up 24-bit BMP of width x height to `path` a row at a time, so that a
// photograph costs one row of memory. Rows are asked for in the order the file stores them,
// the bottom one first. Throws std::runtime_error when the file cannot be written.
void writeBmp24(const std::filesystem::path& path, int width, int height, const RowFiller& fillRow);

} // namespace pixtint
