// SPDX-License-Identifier: MIT
#include "platform/PictureDecoding.h"

#include "engine/BmpHeader.h"
#include "engine/BmpLayout.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdlib>
#include <optional>
#include <vector>

namespace pixtint {

namespace {

constexpr std::size_t HeaderSize = BmpHeader::Size;

Error notAPicture() {
    return Error(ErrorKind::NotAPicture);
}

// The layout of an uncompressed, bottom-up or top-down, 24-bit bitmap whose rows all lie
// inside the file.
struct PlainBitmap {
    int width;
    int height;
    bool topDown;
    std::uint64_t pixelOffset;
    std::uint64_t stride;
};

std::optional<PlainBitmap> plainBitmap(const std::uint8_t* header, std::uint64_t fileSize) {
    using namespace BmpHeader;
    if (header[0] != 'B' || header[1] != 'M' || readInt32(header, InfoSizeOffset) < 40 ||
        header[BitCountOffset] != 24 || header[BitCountOffset + 1] != 0 ||
        readInt32(header, CompressionOffset) != 0) {
        return std::nullopt;
    }
    const auto width = readInt32(header, WidthOffset);
    const auto height = readInt32(header, HeightOffset);
    if (width <= 0 || height == 0 || height == INT32_MIN) {
        return std::nullopt;
    }
    const PlainBitmap bitmap{width, std::abs(height), height < 0,
                             static_cast<std::uint32_t>(readInt32(header, PixelOffsetOffset)),
                             rowStride(static_cast<std::uint64_t>(width))};
    if (bitmap.pixelOffset < HeaderSize ||
        bitmap.pixelOffset + bitmap.stride * bitmap.height > fileSize) {
        return std::nullopt;
    }
    return bitmap;
}

QSize sampledSize(int width, int height, int largest) {
    if (width <= largest && height <= largest) {
        return {width, height};
    }
    const double scale = static_cast<double>(largest) / std::max(width, height);
    return {std::max(1, static_cast<int>(width * scale)),
            std::max(1, static_cast<int>(height * scale))};
}

void readRow(const ByteSource& source, std::uint64_t offset, std::vector<std::uint8_t>& row) {
    if (source.readAt(offset, row) != row.size()) {
        throw notAPicture(); // the file shrank while we read it
    }
}

// Blue, green, red in the file is the byte order of QImage::Format_BGR888, so rows copy
// straight across.
QImage readPlainBitmap(const ByteSource& source, const PlainBitmap& bitmap, int largest) {
    const QSize size = sampledSize(bitmap.width, bitmap.height, largest);
    QImage picture(size, QImage::Format_BGR888);
    if (picture.isNull()) {
        throw Error(ErrorKind::OutOfMemory);
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width) * 3);
    for (int y = 0; y < size.height(); ++y) {
        const int sourceRow =
            static_cast<int>(static_cast<std::int64_t>(y) * bitmap.height / size.height());
        const int storedRow = bitmap.topDown ? sourceRow : bitmap.height - 1 - sourceRow;
        readRow(source, bitmap.pixelOffset + bitmap.stride * storedRow, row);
        std::uint8_t* line = picture.scanLine(y);
        if (size.width() == bitmap.width) {
            std::copy(row.begin(), row.end(), line);
            continue;
        }
        for (int x = 0; x < size.width(); ++x) {
            const std::size_t sourceX = static_cast<std::size_t>(x) * bitmap.width / size.width();
            std::copy_n(&row[sourceX * 3], 3, line + 3 * x);
        }
    }
    return picture;
}

std::vector<std::uint8_t> readWhole(const ByteSource& source) {
    try {
        std::vector<std::uint8_t> bytes(source.size());
        bytes.resize(source.readAt(0, bytes));
        return bytes;
    } catch (const std::bad_alloc&) {
        throw Error(ErrorKind::OutOfMemory);
    }
}

QImage readWithQt(const ByteSource& source, int largest) {
    const std::vector<std::uint8_t> bytes = readWhole(source);
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Large photographs are welcome: 8000 x 6000 alone needs about 190 MB decoded.
    QImageReader::setAllocationLimit(4096);
    QImage picture = reader.read();
    if (picture.isNull()) {
        throw notAPicture();
    }
    const QSize size = sampledSize(picture.width(), picture.height(), largest);
    return size == picture.size()
               ? picture
               : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

std::optional<PlainBitmap> plainBitmapOf(const ByteSource& source) {
    std::uint8_t header[HeaderSize];
    if (source.readAt(0, header) != HeaderSize) {
        return std::nullopt;
    }
    return plainBitmap(header, source.size());
}

// A file the list marks convertible (24 bits) is shown only when the conversion can read it
// too: Qt's reader would show a picture whose pixel offset lies outside the file, and the
// batch would then fail where the preview succeeded.
void requireConvertibleLayout(const ByteSource& source) {
    std::uint8_t bitCount[2] = {};
    if (source.readAt(BmpHeader::BitCountOffset, bitCount) == 2 &&
        bitCount[0] == BmpHeader::TwentyFourBits && bitCount[1] == 0) {
        readBmpLayout(source);
    }
}

} // namespace

QImage decodePicture(const ByteSource& source, int largest) {
    if (const auto bitmap = plainBitmapOf(source)) {
        return readPlainBitmap(source, *bitmap, largest);
    }
    requireConvertibleLayout(source);
    return readWithQt(source, largest);
}

void checkPictureDecodes(const ByteSource& source) {
    if (!plainBitmapOf(source)) {
        requireConvertibleLayout(source);
        readWithQt(source, 1);
    }
}

QImage decodePictureFile(const std::filesystem::path& path, int largest) {
    return decodePicture(FileByteSource(path), largest);
}

} // namespace pixtint
