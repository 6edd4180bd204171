// SPDX-License-Identifier: MIT
#pragma once

// What the benchmarks write before they time anything: a settings file that points the
// window at a folder and converts blue to red, pictures, and plain files.

#include "tests/support/BmpBytes.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pixtint {

namespace BenchFiles {

// A bottom-up 24-bit BMP whose pixel bytes are all `shade`.
inline std::vector<std::uint8_t> bmp24(int width, int height, std::uint8_t shade) {
    return makeBmp24(width, height, {shade, shade, shade});
}

// Plain writes: the set-up is not what is measured.
inline void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline void writeSettings(const std::filesystem::path& programFolder,
                          const std::filesystem::path& pictures, bool backups = true) {
    std::filesystem::create_directories(programFolder);
    const std::string text = pictures.string() + "\r\n 16711680 \r\n 255 \r\n 1 \r\nTrue\r\n" +
                             (backups ? " 1 " : " 0 ") + "\r\n";
    writeFile(programFolder / "Pixtint.ini", {text.begin(), text.end()});
}

// A 16 x 16 icon: a third of its pixels blue (the colour the benchmarks replace), the rest
// shades of grey; `seed` varies it.
inline std::vector<std::uint8_t> blueIcon(int seed) {
    constexpr int Side = 16;
    std::vector<std::uint8_t> bytes = makeBmp24(Side, Side, {});
    for (int pixel = 0; pixel < Side * Side; ++pixel) {
        const auto shade = static_cast<std::uint8_t>(pixel + seed);
        setPixel(bytes, pixel % Side, pixel / Side,
                 (pixel + seed) % 3 == 0 ? Pixel{0, 0, 255} : Pixel{shade, shade, shade});
    }
    return bytes;
}

// icon0.bmp to icon<count - 1>.bmp in `folder`, made if need be, each the bytes `make(i)`.
template <typename IconMaker>
void writeIcons(const std::filesystem::path& folder, int count, IconMaker&& make) {
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        writeFile(folder / ("icon" + std::to_string(i) + ".bmp"), make(i));
    }
}

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace BenchFiles

} // namespace pixtint
