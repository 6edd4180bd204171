// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <cstdint>

namespace pixtint {

// Colour values as the program stores them: 0x00BBGGRR, or, when negative, a reference to a
// system colour (high bit set, index in the low byte) such as 0x8000000F, the button face.
namespace ColourValue {

inline constexpr std::int32_t ButtonFace = static_cast<std::int32_t>(0x8000000F);
inline constexpr std::int32_t ActiveBorder = static_cast<std::int32_t>(0x8000000A);

inline bool isSystemColour(std::int32_t value) {
    return value < 0;
}

// The plain colour of a non-negative value (bits 24 to 31 ignored).
QColor toColour(std::int32_t value);
// The value of a colour, 0x00BBGGRR.
std::int32_t fromColour(const QColor& colour);

} // namespace ColourValue

} // namespace pixtint
