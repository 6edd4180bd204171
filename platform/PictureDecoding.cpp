// SPDX-License-Identifier: MIT
#include "platform/PictureDecoding.h"

#include "engine/BmpHeader.h"
#include "engine/BmpLayout.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"
#include "filesafety/FileByteSource.h"

#include <QBuffer>
#include <QImageReader>
#include <optional>
#include <vector>

namespace pixtint {

namespace {

Error notAPicture() {
    return Error(ErrorKind::NotAPicture);
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
QImage readPlainBitmap(const ByteSource& source, const BmpLayout& bitmap, int largest) {
    const auto height = static_cast<int>(bitmap.rowCount);
    const QSize size = sampledSize(bitmap.width, height, largest);
    QImage picture(size, QImage::Format_BGR888);
    if (picture.isNull()) {
        throw Error(ErrorKind::OutOfMemory);
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width) * 3);
    for (int y = 0; y < size.height(); ++y) {
        const int sourceRow =
            static_cast<int>(static_cast<std::int64_t>(y) * height / size.height());
        const int storedRow = bitmap.topDown() ? sourceRow : height - 1 - sourceRow;
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

// A file the list marks convertible (24 bits) is shown only when the conversion can read its
// layout too: Qt's reader would show a picture whose pixel offset lies outside the file, and the
// batch would then fail where the preview succeeded. The layout it reads is also what lets plain
// rows, all inside the file, be read here directly; any other picture goes to Qt's readers.
std::optional<BmpLayout> plainBitmapOf(const ByteSource& source) {
    using namespace BmpHeader;
    std::uint8_t head[BitCountOffset + 2] = {};
    if (source.readAt(0, head) != sizeof head || head[BitCountOffset] != TwentyFourBits ||
        head[BitCountOffset + 1] != 0) {
        return std::nullopt;
    }
    BmpLayout layout = readBmpLayout(source);
    if (head[0] != 'B' || head[1] != 'M' || layout.colours != ColourLayout::Bgr24 ||
        layout.compression != Compression::None || layout.rowsEnd() > source.size() ||
        layout.rowCount > INT32_MAX) {
        return std::nullopt;
    }
    return layout;
}

} // namespace

QImage decodePicture(const ByteSource& source, int largest) {
    if (const auto bitmap = plainBitmapOf(source)) {
        return readPlainBitmap(source, *bitmap, largest);
    }
    return readWithQt(source, largest);
}

void checkPictureDecodes(const ByteSource& source) {
    if (!plainBitmapOf(source)) {
        readWithQt(source, 1);
    }
}

QImage decodePictureFile(const std::filesystem::path& path, int largest) {
    return decodePicture(FileByteSource(path), largest);
}

} // namespace pixtint
