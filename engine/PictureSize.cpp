// SPDX-License-Identifier: MIT
#include "engine/PictureSize.h"

#include "engine/BmpHeader.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"

namespace pixtint {

PictureSize readPictureSize(const ByteSource& source) {
    std::uint8_t header[BmpHeader::HeightOffset + 4];
    if (source.readAt(0, header) < sizeof header) {
        throw Error(ErrorKind::TooShort, source.path());
    }
    return {BmpHeader::readInt32(header, BmpHeader::WidthOffset),
            BmpHeader::readInt32(header, BmpHeader::HeightOffset)};
}

} // namespace pixtint
