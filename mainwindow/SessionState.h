// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/ColourValue.h"

#include <QtCore/qnamespace.h>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace pixtint {

// The two preview images, before and after conversion, and the colour row each one's pick
// takes its colour for: the before row chooses the FROM colour, the after row the TO colour.
enum class Side { Before, After };

// The colour values (see ColourValue) the conversion replaces: FROM becomes TO.
struct ColourValuePair {
    std::int32_t from = ColourValue::ActiveBorder;
    std::int32_t to = ColourValue::ButtonFace;

    std::int32_t& of(Side side) { return side == Side::Before ? from : to; }
};

// What the user has chosen in this session: the settings file reads and writes it, the panels
// show it, and the conversion is asked for from it.
struct SessionState {
    std::filesystem::path folder; // native; "/" is the root
    ColourValuePair colours;
    // Only a ticked box grows a picture; a greyed one (a settings file may ask for it) grows
    // none, though the preview still draws the after image a row taller.
    Qt::CheckState resizeTo16x16 = Qt::Checked;
    // false selects neither row option: the file keeps only this one, as the window shows it
    bool insertAtTop = true;
    Qt::CheckState keepBackup = Qt::Checked;
    // A colour pick waiting for its click: the side whose colour it takes, from that side's
    // preview image.
    std::optional<Side> pick;
};

} // namespace pixtint
