// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

namespace pixtint {

// The status-bar texts of the preview.
namespace PreviewTexts {

// The byte count grouped by three with commas, then "バイト"; a size of 0 shows no digits.
QString sizeText(std::int64_t bytes);
// Width, "×" and height, e.g. "16×15"; negative values keep their sign.
QString dimensionText(std::int32_t width, std::int32_t height);

} // namespace PreviewTexts

} // namespace pixtint
