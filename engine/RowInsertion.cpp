#include "engine/AppError.h"
#include "engine/BitmapRecolor.h"
#include "engine/FileBytes.h"

#include <algorithm>
#include <vector>

namespace pixtint {

namespace {

// The one shape this works on: 16 pixels a row, 48 bytes, no padding; 15 rows in a file of
// 774 bytes become 16 rows in a file of 822.
constexpr std::size_t RowBytes = 48;
constexpr std::size_t PixelsPerRow = 16;
constexpr std::size_t ResultSize = 822;
constexpr std::size_t TopRowOffset = ResultSize - RowBytes;
constexpr std::size_t BottomRowOffset = PixelDataOffset;
constexpr std::size_t PatchedHeaderEnd = 36; // the last patched byte is at offset 35

// Single header bytes, their neighbours kept: the file size 0x0306 becomes 0x0336, the
// height 15 becomes 16 and the pixel-data size becomes 0x0300, whatever they held before.
void patchHeader(std::vector<std::uint8_t>& bytes) {
    bytes[2] = 0x36;
    bytes[HeightOffset] = 16;
    bytes[34] = 0x00;
    bytes[35] = 0x03;
}

void paintRow(std::vector<std::uint8_t>& bytes, std::size_t rowOffset, Rgb fill) {
    for (std::size_t pixel = 0; pixel < PixelsPerRow; ++pixel) {
        const std::size_t offset = rowOffset + pixel * 3;
        bytes[offset] = fill.blue;
        bytes[offset + 1] = fill.green;
        bytes[offset + 2] = fill.red;
    }
}

// Every byte from offset 821 down to 54 takes the byte one row earlier, so the stored rows
// move up by one and the first stored row briefly holds a copy of header bytes 6 to 53.
void moveRowsUp(std::vector<std::uint8_t>& bytes) {
    std::copy_backward(bytes.begin() + BottomRowOffset - RowBytes,
                       bytes.begin() + ResultSize - RowBytes, bytes.begin() + ResultSize);
}

} // namespace

std::filesystem::path MakeBitmap16x16(const std::filesystem::path& source, bool insertAtTop,
                                      Rgb fill) {
    const auto target = TemporaryPathFor(source);
    auto bytes = readFilePrefix(source, ResultSize);
    if (bytes.size() < PatchedHeaderEnd) {
        throw AppError(ErrorNumber::SubscriptOutOfRange);
    }
    patchHeader(bytes);
    bytes.resize(ResultSize, 0);
    if (insertAtTop) {
        paintRow(bytes, TopRowOffset, fill);
    } else {
        moveRowsUp(bytes);
        paintRow(bytes, BottomRowOffset, fill);
    }
    writeFileAtomically(target, bytes, Durability::Scratch);
    return target;
}

} // namespace pixtint
