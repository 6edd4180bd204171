// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <filesystem>

namespace pixtint {

class ByteSource;

// Reads a picture for the preview images, from a file or from converted bytes. A plain 24-bit
// bitmap is read row by row, and a picture larger than `largest` pixels either way is sampled down
// on the way in, keeping its proportions: the preview shows it stretched, nearest neighbour,
// anyway, so a photograph costs a fraction of its size. Any other kind of picture goes through Qt's
// readers. Throws Error: the file's own error, or NotAPicture when its bytes are not a picture.
QImage decodePicture(const ByteSource& source, int largest = 2048);
QImage decodePictureFile(const std::filesystem::path& path, int largest = 2048);

// Throws what decodePicture would, without reading the rows of a plain 24-bit bitmap, whose
// header alone says it can be shown.
void checkPictureDecodes(const ByteSource& source);

} // namespace pixtint
