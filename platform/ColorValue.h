#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace pixtint {

// Colour values as the program stores them: 0x00BBGGRR, or, when negative, a reference to a
// system colour (high bit set, index in the low byte) such as 0x8000000F, the button face.
namespace ColorValue {

inline constexpr std::int32_t ButtonFace = static_cast<std::int32_t>(0x8000000F);
inline constexpr std::int32_t ActiveBorder = static_cast<std::int32_t>(0x8000000A);

inline bool isSystemColor(std::int32_t value) {
    return value < 0;
}

// The plain colour of a non-negative value (bits 24 to 31 ignored).
QColor toColor(std::int32_t value);
// The value of a colour, 0x00BBGGRR.
std::int32_t fromColor(const QColor& color);

// What the system colour with this reference looks like in `palette`. Unknown indexes paint as
// the window background.
QColor systemColor(std::int32_t reference, const QPalette& palette);

// The colour a value is painted with: a plain colour as it is, a system colour through the
// system-colour table.
QColor paintedColor(std::int32_t value, const QPalette& palette);

} // namespace ColorValue

} // namespace pixtint
