// SPDX-License-Identifier: MIT
#include "widgets/ColourValue.h"

namespace pixtint {

namespace ColourValue {

QColor toColour(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

std::int32_t fromColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) |
                                     (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                     (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

} // namespace ColourValue

} // namespace pixtint
