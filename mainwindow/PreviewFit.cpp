// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pixtint {

namespace PreviewFit {

namespace {

// limit * numerator / denominator: the product is exact in 64 bits, the quotient is taken in
// double precision and rounded to whole twips. The caller has ruled out a zero denominator.
std::optional<std::int32_t> scaled(std::int32_t limit, std::int32_t numerator,
                                   std::int32_t denominator) {
    const std::int64_t product = static_cast<std::int64_t>(limit) * numerator;
    return nearest(static_cast<double>(product) / denominator);
}

// Space between each preview image and the arrow between them.
constexpr double GapToArrow = 60;

double beforeTop(const PreviewRoom& area, double beforeHeight) {
    return area.centreY - beforeHeight / 2;
}

double beforeLeft(const PreviewRoom& area, double arrowWidth, double beforeWidth) {
    return area.centreX - arrowWidth / 2 - GapToArrow - beforeWidth;
}

double afterLeft(const PreviewRoom& area, double arrowWidth) {
    return arrowWidth / 2 + area.centreX + GapToArrow;
}

double afterHeight(std::int32_t height, bool rowInserted) {
    return rowInserted ? static_cast<double>(height) / 15 * 16 : height;
}

} // namespace

std::optional<std::int32_t> nearest(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double below = std::floor(value);
    const double fraction = value - below;
    const bool belowIsOdd = std::fmod(below, 2.0) != 0;
    const double rounded = fraction > 0.5 || (fraction == 0.5 && belowIsOdd) ? below + 1 : below;
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

bool hasZeroSide(Size size) {
    return size.width == 0 || size.height == 0;
}

std::optional<Size> fit(Size size, const PreviewRoom& area) {
    if (size.width <= area.widthLimit && size.height <= area.heightLimit) {
        return size;
    }
    if (hasZeroSide(size)) {
        return std::nullopt;
    }
    const double widthRatio = static_cast<double>(area.widthLimit) / size.width;
    const double heightRatio = static_cast<double>(area.heightLimit) / size.height;
    if (heightRatio > widthRatio) {
        // The width is the tighter bound.
        const auto height = scaled(area.widthLimit, size.height, size.width);
        return height ? std::optional<Size>({area.widthLimit, *height}) : std::nullopt;
    }
    // Equal ratios land here too.
    const auto width = scaled(area.heightLimit, size.width, size.height);
    return width ? std::optional<Size>({*width, area.heightLimit}) : std::nullopt;
}

Size visible(Size size) {
    constexpr std::int32_t OnePixel = 15;
    return {std::max(size.width, OnePixel), std::max(size.height, OnePixel)};
}

ImagePlaces placeImages(Size fitted, const PreviewRoom& area, double arrowWidth, bool rowInserted) {
    const double top = beforeTop(area, fitted.height);
    return {{beforeLeft(area, arrowWidth, fitted.width), top, static_cast<double>(fitted.width),
             static_cast<double>(fitted.height)},
            {afterLeft(area, arrowWidth), top, static_cast<double>(fitted.width),
             afterHeight(fitted.height, rowInserted)}};
}

} // namespace PreviewFit

} // namespace pixtint
