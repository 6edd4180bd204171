#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const auto& part : parts) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

inline Bytes repeat(const Bytes& part, int times) {
    Bytes bytes;
    while (times-- > 0) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

// A 24-bit header claiming `width` (one row), followed by exactly `pixelBytes`: the engine
// goes by the width alone, so the shapes under test need not be well-formed pictures.
inline Bytes bitmapBytes(std::int32_t width, const Bytes& pixelBytes) {
    Bytes bytes(54, 0);
    const auto put = [&bytes](std::size_t offset, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, static_cast<std::uint32_t>(54 + pixelBytes.size()));
    put(10, 54);
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, 1);
    bytes[26] = 1;
    bytes[28] = 24;
    bytes.insert(bytes.end(), pixelBytes.begin(), pixelBytes.end());
    return bytes;
}
