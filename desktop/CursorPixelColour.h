// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;

namespace pixtint {

// The colour the screen shows under the mouse pointer at this moment, 0x00BBGGRR, never
// negative. Where the screen cannot be read (some platforms refuse to hand out its pixels), the
// pixel of `ownWindow` under the pointer as the window paints it; black (0) when neither can be
// read.
std::int32_t cursorPixelColour(QWidget* ownWindow = nullptr);

} // namespace pixtint
