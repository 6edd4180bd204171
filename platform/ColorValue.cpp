#include "platform/ColorValue.h"

#include <array>
#include <utility>

namespace pixtint {

namespace ColorValue {

QColor toColor(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

std::int32_t fromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) |
                                     (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                     (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

QColor systemColor(std::int32_t reference, const QPalette& palette) {
    // The classic system-colour indexes, each mapped to the palette role that paints the same
    // part of a window here.
    static constexpr std::array<std::pair<int, QPalette::ColorRole>, 25> table{{
        {0, QPalette::Mid},
        {1, QPalette::Dark},
        {2, QPalette::Highlight},
        {3, QPalette::Mid},
        {4, QPalette::Window},
        {5, QPalette::Base},
        {6, QPalette::Shadow},
        {7, QPalette::WindowText},
        {8, QPalette::Text},
        {9, QPalette::HighlightedText},
        {10, QPalette::Window},
        {11, QPalette::Window},
        {12, QPalette::Dark},
        {13, QPalette::Highlight},
        {14, QPalette::HighlightedText},
        {15, QPalette::Button},
        {16, QPalette::Dark},
        {17, QPalette::PlaceholderText},
        {18, QPalette::ButtonText},
        {19, QPalette::WindowText},
        {20, QPalette::Light},
        {21, QPalette::Shadow},
        {22, QPalette::Midlight},
        {23, QPalette::ToolTipText},
        {24, QPalette::ToolTipBase},
    }};
    const int index = static_cast<int>(static_cast<std::uint32_t>(reference) & 0xFF);
    for (const auto& [systemIndex, role] : table) {
        if (systemIndex == index) {
            return palette.color(role);
        }
    }
    return palette.color(QPalette::Window);
}

QColor paintedColor(std::int32_t value, const QPalette& palette) {
    return isSystemColor(value) ? systemColor(value, palette) : toColor(value);
}

} // namespace ColorValue

} // namespace pixtint
