// SPDX-License-Identifier: MIT
#include "engine/PictureSize.h"

#include "engine/BmpHeader.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"

namespace pixtint {

namespace {

// The oldest header, 12 bytes long, gives the size in two unsigned 16-bit fields.
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::size_t CoreHeightOffset = BmpHeader::WidthOffset + 2;

} // namespace

PictureSize readPictureSize(const ByteSource& source) {
    std::uint8_t header[BmpHeader::HeightOffset + 4];
    const std::size_t count = source.readAt(0, header);
    if (count >= CoreHeightOffset + 2 &&
        BmpHeader::readUnsigned(header, BmpHeader::InfoSizeOffset, 4) == CoreHeaderSize) {
        return {
            static_cast<std::int32_t>(BmpHeader::readUnsigned(header, BmpHeader::WidthOffset, 2)),
            static_cast<std::int32_t>(BmpHeader::readUnsigned(header, CoreHeightOffset, 2))};
    }
    if (count < sizeof header) {
        throw Error(ErrorKind::TooShort, source.path());
    }
    return {BmpHeader::readInt32(header, BmpHeader::WidthOffset),
            BmpHeader::readInt32(header, BmpHeader::HeightOffset)};
}

} // namespace pixtint
