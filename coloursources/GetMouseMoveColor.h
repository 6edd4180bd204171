#pragma once

#include <cstdint>

class QWidget;

// The colour the screen shows under the mouse pointer, 0x00BBGGRR. Where the screen cannot be
// read, the pixel of `ownWindow` under the pointer; black (0) when neither can be read.
std::int32_t GetCursorPixelColor(const QWidget* ownWindow = nullptr);
