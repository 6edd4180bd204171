#include "platform/PictureDecoding.h"

#include "engine/AppError.h"
#include "engine/BitmapRecolor.h"
#include "engine/FileBytes.h"
#include "engine/PosixFile.h"

#include <QBuffer>
#include <QImageReader>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <unistd.h>
#include <vector>

namespace pixtint {

namespace {

constexpr std::size_t HeaderSize = 54;

AppError invalidPicture() {
    return AppError(ErrorNumber::InvalidPicture);
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
    if (header[0] != 'B' || header[1] != 'M' || ReadInt32(header, 14) < 40 || header[28] != 24 ||
        header[29] != 0 || ReadInt32(header, 30) != 0) {
        return std::nullopt;
    }
    const auto width = ReadInt32(header, WidthOffset);
    const auto height = ReadInt32(header, HeightOffset);
    if (width <= 0 || height == 0 || height == INT32_MIN) {
        return std::nullopt;
    }
    const PlainBitmap bitmap{width, std::abs(height), height < 0,
                             static_cast<std::uint32_t>(ReadInt32(header, 10)),
                             (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4};
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

void readRow(int descriptor, std::uint64_t offset, std::vector<std::uint8_t>& row,
             const std::filesystem::path& path) {
    if (::lseek(descriptor, static_cast<off_t>(offset), SEEK_SET) < 0) {
        throw AppError::fromErrno(errno, path);
    }
    if (readFully(descriptor, row, path) != row.size()) {
        throw invalidPicture(); // the file shrank while we read it
    }
}

// Blue, green, red in the file is the byte order of QImage::Format_BGR888, so rows copy
// straight across.
QImage readPlainBitmap(int descriptor, const PlainBitmap& bitmap, int largest,
                       const std::filesystem::path& path) {
    const QSize size = sampledSize(bitmap.width, bitmap.height, largest);
    QImage picture(size, QImage::Format_BGR888);
    if (picture.isNull()) {
        throw AppError(ErrorNumber::OutOfMemory);
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width) * 3);
    for (int y = 0; y < size.height(); ++y) {
        const int sourceRow =
            static_cast<int>(static_cast<std::int64_t>(y) * bitmap.height / size.height());
        const int storedRow = bitmap.topDown ? sourceRow : bitmap.height - 1 - sourceRow;
        readRow(descriptor, bitmap.pixelOffset + bitmap.stride * storedRow, row, path);
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

QImage readWithQt(const std::filesystem::path& path, int largest) {
    const std::vector<std::uint8_t> bytes = readWholeFile(path);
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Large photographs are welcome: 8000 x 6000 alone needs about 190 MB decoded.
    QImageReader::setAllocationLimit(4096);
    QImage picture = reader.read();
    if (picture.isNull()) {
        throw invalidPicture();
    }
    const QSize size = sampledSize(picture.width(), picture.height(), largest);
    return size == picture.size()
               ? picture
               : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

QImage decodePictureFile(const std::filesystem::path& path, int largest) {
    const UniqueFd file = openRegularFileForReading(path);
    std::uint8_t header[HeaderSize];
    const std::uint64_t fileSize = currentSize(file.get(), path);
    if (readFully(file.get(), header, path) == HeaderSize) {
        if (const auto bitmap = plainBitmap(header, fileSize)) {
            return readPlainBitmap(file.get(), *bitmap, largest, path);
        }
    }
    return readWithQt(path, largest);
}

} // namespace pixtint
