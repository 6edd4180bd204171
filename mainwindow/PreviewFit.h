// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/Twips.h"

#include <cstdint>
#include <optional>

namespace pixtint {

// The arithmetic of the preview area: fitting a picture's display size into the room the
// window layout leaves, and placing the before and after images either side of the arrow.
// Everything is in twips. Kept free of the window so it can be checked on its own.
namespace PreviewFit {

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The room for each preview image and the point the pair is arranged around. All zero until
// the window has been laid out once.
struct PreviewRoom {
    std::int32_t widthLimit = 0;
    std::int32_t heightLimit = 0;
    std::int32_t centreX = 0;
    std::int32_t centreY = 0;
};

// The whole number nearest to `value`, a value exactly halfway going to the even neighbour.
// Does not depend on the floating-point rounding mode. Nothing when the result does not fit in
// 32 bits.
std::optional<std::int32_t> nearest(double value);

// Shrinks `size` to fit the area's limits, keeping its proportions; a size that fits in both
// directions is kept as it is, never enlarged. Nothing when a side that must be divided by is
// 0 (see hasZeroSide), or when a fitted side does not fit in 32 bits.
std::optional<Size> fit(Size size, const PreviewRoom& area);
// Whether a side of `size` is 0: a size that must be fitted cannot be then.
bool hasZeroSide(Size size);

// Nothing is shown smaller than one pixel (15 twips) either way: a picture far wider than
// high, or a fit made before the window was laid out, would otherwise leave nothing to see
// or click.
Size visible(Size size);

struct ImagePlaces {
    TwipsRect before;
    TwipsRect after;
};
// Both images for a picture fitted to `fitted`, either side of an arrow `arrowWidth` wide in the
// area's centre, 60 twips from it, sharing their top. A 16 x 15 picture that gets a row
// inserted is drawn one fifteenth taller after its conversion.
ImagePlaces placeImages(Size fitted, const PreviewRoom& area, double arrowWidth, bool rowInserted);

} // namespace PreviewFit

} // namespace pixtint
