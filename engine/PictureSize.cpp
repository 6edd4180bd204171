#include "engine/PictureSize.h"

#include "engine/AppError.h"
#include "engine/BmpHeader.h"
#include "engine/ByteSource.h"

namespace pixtint {

PictureSize readPictureSize(const ByteSource& source) {
    std::uint8_t header[BmpHeader::HeightOffset + 4];
    if (source.readAt(0, header) < sizeof header) {
        throw AppError(ErrorNumber::InputPastEndOfFile);
    }
    return {BmpHeader::readInt32(header, BmpHeader::WidthOffset),
            BmpHeader::readInt32(header, BmpHeader::HeightOffset)};
}

} // namespace pixtint
