// SPDX-License-Identifier: MIT
#pragma once

class QGroupBox;

namespace pixtint {

// Draws the frame's title in its top border line, where the window's design expects it: some
// of Qt's styles put the title above the border, which then runs through the first row of the
// frame's contents. The frame's contents keep their places.
void putTitleInBorder(QGroupBox& frame);

} // namespace pixtint
