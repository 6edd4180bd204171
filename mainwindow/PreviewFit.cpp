// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewFit.h"

#include "mainwindow/ErrorMessages.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pixtint {

namespace PreviewFit {

namespace {

// The limit's share of one side: limit / side, in double precision.
double ratio(std::int32_t limit, std::int32_t side) {
    if (side == 0) {
        throw WindowError(MessageNumber::DivisionByZero);
    }
    return static_cast<double>(limit) / side;
}

// limit * numerator / denominator: the product is exact in 64 bits, the quotient is taken in
// double precision and rounded to whole twips. The caller has ruled out a zero denominator.
std::int32_t scaled(std::int32_t limit, std::int32_t numerator, std::int32_t denominator) {
    const std::int64_t product = static_cast<std::int64_t>(limit) * numerator;
    return nearest(static_cast<double>(product) / denominator);
}

// Space between each preview image and the arrow between them.
constexpr double GapToArrow = 60;

double beforeTop(const PreviewArea& area, double beforeHeight) {
    return area.centreY - beforeHeight / 2;
}

double beforeLeft(const PreviewArea& area, double arrowWidth, double beforeWidth) {
    return area.centreX - arrowWidth / 2 - GapToArrow - beforeWidth;
}

double afterLeft(const PreviewArea& area, double arrowWidth) {
    return arrowWidth / 2 + area.centreX + GapToArrow;
}

double afterHeight(std::int32_t height, bool rowInserted) {
    return rowInserted ? static_cast<double>(height) / 15 * 16 : height;
}

} // namespace

std::int32_t nearest(double value) {
    if (!std::isfinite(value)) {
        throw WindowError(MessageNumber::Overflow);
    }
    const double below = std::floor(value);
    const double fraction = value - below;
    const bool belowIsOdd = std::fmod(below, 2.0) != 0;
    const double rounded = fraction > 0.5 || (fraction == 0.5 && belowIsOdd) ? below + 1 : below;
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        throw WindowError(MessageNumber::Overflow);
    }
    return static_cast<std::int32_t>(rounded);
}

Size fit(Size size, const PreviewArea& area) {
    if (size.width <= area.widthLimit && size.height <= area.heightLimit) {
        return size;
    }
    const double widthRatio = ratio(area.widthLimit, size.width);
    const double heightRatio = ratio(area.heightLimit, size.height);
    if (heightRatio > widthRatio) {
        // The width is the tighter bound.
        return {area.widthLimit, scaled(area.widthLimit, size.height, size.width)};
    }
    // Equal ratios land here too.
    return {scaled(area.heightLimit, size.width, size.height), area.heightLimit};
}

Size visible(Size size) {
    constexpr std::int32_t OnePixel = 15;
    return {std::max(size.width, OnePixel), std::max(size.height, OnePixel)};
}

ImagePlaces placeImages(Size fitted, const PreviewArea& area, double arrowWidth, bool rowInserted) {
    const double top = beforeTop(area, fitted.height);
    return {{beforeLeft(area, arrowWidth, fitted.width), top, static_cast<double>(fitted.width),
             static_cast<double>(fitted.height)},
            {afterLeft(area, arrowWidth), top, static_cast<double>(fitted.width),
             afterHeight(fitted.height, rowInserted)}};
}

} // namespace PreviewFit

} // namespace pixtint
