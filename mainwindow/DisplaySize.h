// SPDX-License-Identifier: MIT
#pragma once

#include "engine/PictureSize.h"
#include "mainwindow/PreviewFit.h"

#include <cstdint>
#include <optional>

namespace pixtint {

// The size at which the preview shows `pixels`: 50 twips each. Nothing when that does not fit
// in 32 bits.
std::optional<std::int32_t> displayTwips(std::int32_t pixels);
// The size at which the preview shows a picture. A top-down picture, whose height is negative
// in its header, is shown at its real height. Nothing as for displayTwips.
std::optional<PreviewFit::Size> displaySize(PictureSize size);

} // namespace pixtint
