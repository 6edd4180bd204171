#pragma once

#include "mainwindow/PreviewFit.h"

#include <cstdint>
#include <filesystem>

namespace pixtint {

// A picture's width and height in pixels, as its header gives them (a top-down picture has a
// negative height).
struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Reads the two fields from the header. Throws AppError: the file's own error, or 62 for a
// file too short to hold them.
PictureSize readPictureSize(const std::filesystem::path& source);

// The size at which the preview shows `pixels`: 50 twips each. Throws AppError 6 when that
// does not fit in 32 bits.
std::int32_t displayTwips(std::int32_t pixels);
// The size at which the preview shows a picture. A top-down picture, whose height is negative
// in its header, is shown at its real height. Throws as displayTwips.
PreviewFit::Size displaySize(PictureSize size);

} // namespace pixtint
