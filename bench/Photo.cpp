// SPDX-License-Identifier: MIT
#include "bench/Photo.h"

#include "bench/BenchFiles.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace pixtint {

namespace {

// xorshift64: fast enough that 48 million pixels cost little next to writing them.
class Random {
public:
    std::uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15u;
};

bool same(Pixel a, Pixel b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

void writeBmpRows(const std::filesystem::path& path, const BmpRecipe& shape,
                  const std::function<void(std::span<std::uint8_t> row)>& fillRow) {
    std::vector<std::uint8_t> row(strideFor(shape.width, shape.bitCount), 0);
    auto header = makeBmp(shape);
    const auto pixelBytes = row.size() * static_cast<std::size_t>(std::abs(shape.height));
    const auto put32 = [&header](std::size_t offset, std::size_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            header[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    put32(2, header.size() + pixelBytes);
    put32(34, pixelBytes);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(header.data()),
               static_cast<std::streamsize>(header.size()));
    const auto pixels = std::span(row).first(std::size_t{1} * shape.width * shape.bitCount / 8);
    for (int y = 0; y < std::abs(shape.height); ++y) {
        fillRow(pixels);
        file.write(reinterpret_cast<const char*>(row.data()),
                   static_cast<std::streamsize>(row.size()));
    }
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::uint64_t writePhoto(const std::filesystem::path& path, Pixel before) {
    Random random;
    std::uint64_t matches = 0;
    BmpRecipe shape;
    shape.width = PhotoWidth;
    shape.height = PhotoHeight;
    writeBmpRows(path, shape, [&](std::span<std::uint8_t> row) {
        for (std::size_t x = 0; x < row.size(); x += 3) {
            const std::uint64_t bits = random.next();
            Pixel colour{static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                         static_cast<std::uint8_t>(bits >> 16)};
            if (bits >> 32 < 0x1999'9999u) { // a tenth of 2^32
                colour = before;
            } else if (same(colour, before)) {
                colour.green ^= 1;
            }
            matches += same(colour, before);
            row[x] = colour.blue;
            row[x + 1] = colour.green;
            row[x + 2] = colour.red;
        }
    });
    return matches;
}

void writePalettePhoto(const std::filesystem::path& path, Pixel before) {
    Random random;
    BmpRecipe recipe;
    recipe.width = PhotoWidth;
    recipe.height = PhotoHeight;
    recipe.bitCount = 8;
    recipe.palette.push_back(before);
    while (recipe.palette.size() < 256) {
        const std::uint64_t bits = random.next();
        Pixel colour{static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                     static_cast<std::uint8_t>(bits >> 16)};
        if (same(colour, before)) {
            colour.green ^= 1;
        }
        recipe.palette.push_back(colour);
    }
    recipe.pixels.resize(std::size_t{PhotoWidth} * PhotoHeight); // rows need no padding
    for (auto& index : recipe.pixels) {
        const std::uint64_t bits = random.next();
        index = bits >> 32 < 0x1999'9999u ? 0 : static_cast<std::uint8_t>(1 + bits % 255);
    }
    BenchFiles::writeFile(path, makeBmp(recipe));
}

} // namespace pixtint
