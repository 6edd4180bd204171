#pragma once

// What the window benchmarks write before they time anything: pictures, and a settings file
// that points the window at them and converts blue to red.

#include <algorithm>
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
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bytes(54 + stride * height, shade);
    const auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    std::fill_n(bytes.begin(), 54, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    put32(34, static_cast<std::uint32_t>(stride * height));
    return bytes;
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

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace BenchFiles

} // namespace pixtint
