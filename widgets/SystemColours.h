// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace pixtint {

// The classic system colours (the index in the low byte of a system-colour reference) drawn in
// today's palette: each index is shown as the palette role that plays its part, so that a
// swatch holding the button face looks like a button and one holding the active border like a
// frame. The conversion does not use this: it writes any system colour as the window's
// background (writtenColour).
QPalette::ColorRole systemColourRole(int index);
// The colour a swatch paints for a colour value: a plain colour as it is, a system colour
// through the table above.
QColor paintedColour(std::int32_t value, const QPalette& palette);
// The colour the conversion writes for a colour value: a plain colour as it is, a system colour
// as the background of the window it works for, whose palette `windowPalette` is. Read at the
// moment of asking: the palette may have changed since the value was chosen.
QColor writtenColour(std::int32_t value, const QPalette& windowPalette);

} // namespace pixtint
