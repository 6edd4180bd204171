#pragma once

#include "platform/ColorValue.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace pixtint {

// A colour pick waiting for its click: the swatch it sets and the preview it was started on.
struct ColourPick {
    int swatch = 0;
    int image = 0;
};

// What the user has chosen in this session: the settings file reads and writes it, the panels
// show it, and the conversion is asked for from it.
struct SessionState {
    QString folder; // without a trailing separator, so the root is the empty text
    std::int32_t beforeColour = ColorValue::ActiveBorder; // colour values (see ColorValue)
    std::int32_t afterColour = ColorValue::ButtonFace;
    int resizeTo16x16 = 1; // the box's value: 0 clear, 1 ticked, 2 greyed
    // false selects neither row option: the file keeps only this one, as the window shows it
    bool insertAtTop = true;
    int keepBackup = 1; // the box's value, as above
    std::optional<ColourPick> pick;

    std::int32_t colour(int swatch) const { return swatch == 0 ? beforeColour : afterColour; }
    void setColour(int swatch, std::int32_t value) {
        (swatch == 0 ? beforeColour : afterColour) = value;
    }
};

} // namespace pixtint
