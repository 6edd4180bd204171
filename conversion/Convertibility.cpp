#include "conversion/Convertibility.h"

#include "engine/AppError.h"
#include "engine/BmpHeader.h"
#include "engine/FileBytes.h"

namespace pixtint {

namespace {

std::vector<std::uint8_t> headThroughBitCount(const std::filesystem::path& path) {
    auto head = readFilePrefix(path, BmpHeader::BitCountOffset + 1);
    if (head.size() <= BmpHeader::BitCountOffset) {
        throw AppError(ErrorNumber::InputPastEndOfFile);
    }
    return head;
}

} // namespace

bool isBitmap24Bit(const std::filesystem::path& path) {
    return headThroughBitCount(path)[BmpHeader::BitCountOffset] == BmpHeader::TwentyFourBits;
}

bool isSignedBitmap24Bit(const std::filesystem::path& path) {
    const auto head = headThroughBitCount(path);
    return head[0] == 'B' && head[1] == 'M' &&
           head[BmpHeader::BitCountOffset] == BmpHeader::TwentyFourBits;
}

} // namespace pixtint
