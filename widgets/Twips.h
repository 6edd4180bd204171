// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <QtGlobal>

namespace pixtint {

// Positions and sizes of the windows are designed in twips: 15 twips make one
// device-independent pixel at 96 dpi, and Qt scales device-independent pixels for high-dpi
// screens.
namespace Twips {

inline constexpr double PerPixel = 15.0;

inline int toPixels(double twips) {
    return qRound(twips / PerPixel);
}
inline double fromPixels(int pixels) {
    return pixels * PerPixel;
}

} // namespace Twips

// A rectangle in twips, in the coordinates of the widget's container.
struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The whole pixels nearest to each edge of `rect`. Rounding the edges rather than the size
// keeps neighbours that touch in twips touching on screen. A negative size is shown as
// nothing, as a control squeezed to zero would be.
inline QRect pixelRect(const TwipsRect& rect) {
    const int x = Twips::toPixels(rect.left);
    const int y = Twips::toPixels(rect.top);
    return {x, y, qMax(0, Twips::toPixels(rect.left + rect.width) - x),
            qMax(0, Twips::toPixels(rect.top + rect.height) - y)};
}

inline void placeInTwips(QWidget& widget, const TwipsRect& rect) {
    widget.setGeometry(pixelRect(rect));
}

} // namespace pixtint
