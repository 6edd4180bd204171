#include "engine/RowInsertion.h"

#include "engine/BmpHeader.h"
#include "engine/Error.h"

#include <algorithm>

namespace pixtint {

namespace {

// 16 pixels a row, 48 bytes, no padding.
constexpr std::size_t RowBytes = 48;
constexpr std::size_t PixelsPerRow = 16;
constexpr std::size_t TopRowOffset = GrownPictureSize - RowBytes;
constexpr std::size_t BottomRowOffset = BmpHeader::PixelDataOffset;
constexpr std::size_t PatchedHeaderEnd = BmpHeader::PixelDataSizeOffset + 2;

// Single header bytes, their neighbours kept: the file size 0x0306 becomes 0x0336, the
// height 15 becomes 16 and the pixel-data size becomes 0x0300, whatever they held before.
void patchHeader(std::vector<std::uint8_t>& bytes) {
    bytes[BmpHeader::FileSizeOffset] = 0x36;
    bytes[BmpHeader::HeightOffset] = 16;
    bytes[BmpHeader::PixelDataSizeOffset] = 0x00;
    bytes[BmpHeader::PixelDataSizeOffset + 1] = 0x03;
}

void paintRow(std::vector<std::uint8_t>& bytes, std::size_t rowOffset, Rgb fill) {
    for (std::size_t pixel = 0; pixel < PixelsPerRow; ++pixel) {
        const std::size_t offset = rowOffset + pixel * BmpHeader::BytesPerPixel;
        bytes[offset] = fill.blue;
        bytes[offset + 1] = fill.green;
        bytes[offset + 2] = fill.red;
    }
}

// Every byte from offset 821 down to 54 takes the byte one row earlier, so the stored rows
// move up by one and the first stored row briefly holds a copy of header bytes 6 to 53.
void moveRowsUp(std::vector<std::uint8_t>& bytes) {
    std::copy_backward(bytes.begin() + BottomRowOffset - RowBytes,
                       bytes.begin() + GrownPictureSize - RowBytes,
                       bytes.begin() + GrownPictureSize);
}

} // namespace

std::vector<std::uint8_t> grownTo16x16(std::vector<std::uint8_t> bytes, bool atTop, Rgb fill) {
    if (bytes.size() < PatchedHeaderEnd) {
        throw Error(ErrorKind::Truncated);
    }
    patchHeader(bytes);
    bytes.resize(GrownPictureSize, 0);
    if (atTop) {
        paintRow(bytes, TopRowOffset, fill);
    } else {
        moveRowsUp(bytes);
        paintRow(bytes, BottomRowOffset, fill);
    }
    return bytes;
}

} // namespace pixtint
