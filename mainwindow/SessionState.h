// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ColourValue.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace pixtint {

// The two sides of the conversion: the before and after colours, and the before and after
// preview images.
enum class Side { Before, After };

// What the user has chosen in this session: the settings file reads and writes it, the panels
// show it, and the conversion is asked for from it.
struct SessionState {
    QString folder; // without a trailing separator, so the root is the empty text
    std::int32_t beforeColour = ColourValue::ActiveBorder; // colour values (see ColourValue)
    std::int32_t afterColour = ColourValue::ButtonFace;
    // Only a ticked box grows a picture; a greyed one (a settings file may ask for it) grows
    // none, though the preview still draws the after image a row taller.
    Qt::CheckState resizeTo16x16 = Qt::Checked;
    // false selects neither row option: the file keeps only this one, as the window shows it
    bool insertAtTop = true;
    Qt::CheckState keepBackup = Qt::Checked;
    // A colour pick waiting for its click: the side whose colour it takes, from that side's
    // preview image.
    std::optional<Side> pick;

    void setColour(Side side, std::int32_t value) {
        (side == Side::Before ? beforeColour : afterColour) = value;
    }
};

} // namespace pixtint
