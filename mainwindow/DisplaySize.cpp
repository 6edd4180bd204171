// SPDX-License-Identifier: MIT
#include "mainwindow/DisplaySize.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pixtint {

std::optional<std::int32_t> displayTwips(std::int32_t pixels) {
    constexpr std::int64_t TwipsPerPreviewPixel = 50;
    const std::int64_t twips = static_cast<std::int64_t>(pixels) * TwipsPerPreviewPixel;
    if (twips > std::numeric_limits<std::int32_t>::max() ||
        twips < std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(twips);
}

std::optional<PreviewFit::Size> displaySize(PictureSize size) {
    const std::int64_t height = std::abs(std::int64_t{size.height});
    const auto width = displayTwips(size.width);
    const auto shownHeight = displayTwips(static_cast<std::int32_t>(
        std::min<std::int64_t>(height, std::numeric_limits<std::int32_t>::max())));
    if (!width || !shownHeight) {
        return std::nullopt;
    }
    return PreviewFit::Size{*width, *shownHeight};
}

} // namespace pixtint
