// SPDX-License-Identifier: MIT
#include "mainwindow/DisplaySize.h"

#include "mainwindow/ErrorMessages.h"

#include <cstdlib>
#include <limits>

namespace pixtint {

std::int32_t displayTwips(std::int32_t pixels) {
    constexpr std::int64_t TwipsPerPreviewPixel = 50;
    const std::int64_t twips = static_cast<std::int64_t>(pixels) * TwipsPerPreviewPixel;
    if (twips > std::numeric_limits<std::int32_t>::max() ||
        twips < std::numeric_limits<std::int32_t>::min()) {
        throw WindowError(MessageNumber::Overflow);
    }
    return static_cast<std::int32_t>(twips);
}

PreviewFit::Size displaySize(PictureSize size) {
    const std::int64_t height = std::abs(std::int64_t{size.height});
    return {displayTwips(size.width), displayTwips(static_cast<std::int32_t>(std::min<std::int64_t>(
                                          height, std::numeric_limits<std::int32_t>::max())))};
}

} // namespace pixtint
