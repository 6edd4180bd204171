#pragma once

#include <QtGlobal>

namespace pixtint {

// Positions and sizes of the windows are kept in twips: 15 twips make one device-independent
// pixel at 96 dpi, and Qt scales device-independent pixels for high-dpi screens.
namespace Twips {

inline constexpr double PerPixel = 15.0;

inline int toPixels(double twips) {
    return qRound(twips / PerPixel);
}
inline double fromPixels(int pixels) {
    return pixels * PerPixel;
}

} // namespace Twips

} // namespace pixtint
