// SPDX-License-Identifier: MIT
#include "widgets/SystemColours.h"

#include "widgets/ColourValue.h"

#include <array>

namespace pixtint {

namespace {

// By index: 0 scroll bar, 1 desktop, 2 active caption, 3 inactive caption, 4 menu, 5 window,
// 6 window frame, 7 menu text, 8 window text, 9 caption text, 10 active border, 11 inactive
// border, 12 workspace, 13 highlight, 14 highlighted text, 15 button face, 16 button shadow,
// 17 grey text, 18 button text, 19 inactive caption text, 20 button highlight, 21 dark
// shadow, 22 light, 23 tool tip text, 24 tool tip, 25 (none), 26 hot light, 27 and 28 caption
// gradients, 29 menu highlight, 30 menu bar.
constexpr std::array<QPalette::ColorRole, 31> Roles{
    QPalette::Button,
    QPalette::Dark,
    QPalette::Highlight,
    QPalette::Mid,
    QPalette::Window,
    QPalette::Base,
    QPalette::Shadow,
    QPalette::WindowText,
    QPalette::Text,
    QPalette::HighlightedText,
    QPalette::Mid,
    QPalette::Mid,
    QPalette::Dark,
    QPalette::Highlight,
    QPalette::HighlightedText,
    QPalette::Button,
    QPalette::Dark,
    QPalette::PlaceholderText,
    QPalette::ButtonText,
    QPalette::WindowText,
    QPalette::Light,
    QPalette::Shadow,
    QPalette::Midlight,
    QPalette::ToolTipText,
    QPalette::ToolTipBase,
    QPalette::Window,
    QPalette::Link,
    QPalette::Highlight,
    QPalette::Mid,
    QPalette::Highlight,
    QPalette::Window,
};

} // namespace

QPalette::ColorRole systemColourRole(int index) {
    if (index < 0 || index >= static_cast<int>(Roles.size())) {
        return QPalette::Window;
    }
    return Roles[static_cast<std::size_t>(index)];
}

QColor paintedColour(std::int32_t value, const QPalette& palette) {
    if (!ColourValue::isSystemColour(value)) {
        return ColourValue::toColour(value);
    }
    return palette.color(systemColourRole(value & 0xFF));
}

QColor writtenColour(std::int32_t value, const QPalette& windowPalette) {
    return ColourValue::isSystemColour(value) ? windowPalette.color(QPalette::Window)
                                              : ColourValue::toColour(value);
}

} // namespace pixtint
