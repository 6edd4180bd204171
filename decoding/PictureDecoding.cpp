// SPDX-License-Identifier: MIT
#include "decoding/PictureDecoding.h"

#include "engine/BmpHeader.h"
#include "engine/BmpLayout.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"
#include "filesafety/FileByteSource.h"

#include <QBuffer>
#include <QImageReader>
#include <QList>
#include <algorithm>
#include <array>
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

// The image a picture is sampled into: its own size, or smaller to fit `largest`.
QImage sampledImage(const BmpLayout& bitmap, int largest, QImage::Format format) {
    QImage picture(sampledSize(bitmap.width, static_cast<int>(bitmap.rowCount), largest), format);
    if (picture.isNull()) {
        throw Error(ErrorKind::OutOfMemory);
    }
    return picture;
}

// Where the stored row shown as line `y` of `shownHeight` starts, either way up.
std::uint64_t sampledRowOffset(const BmpLayout& bitmap, int y, int shownHeight) {
    const auto height = static_cast<std::int64_t>(bitmap.rowCount);
    const std::int64_t sourceRow = y * height / shownHeight;
    const std::int64_t storedRow = bitmap.topDown() ? sourceRow : height - 1 - sourceRow;
    return bitmap.pixelOffset + bitmap.stride * static_cast<std::uint64_t>(storedRow);
}

// Blue, green, red in the file is the byte order of QImage::Format_BGR888, so rows copy
// straight across.
QImage readPlainBitmap(const ByteSource& source, const BmpLayout& bitmap, int largest) {
    QImage picture = sampledImage(bitmap, largest, QImage::Format_BGR888);
    const QSize size = picture.size();
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width) * 3);
    for (int y = 0; y < size.height(); ++y) {
        readRow(source, sampledRowOffset(bitmap, y, size.height()), row);
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

// The colour table as Qt's indexed image holds it: an entry for every index the bits can
// hold, those the file does not define black.
QList<QRgb> colourTable(const ByteSource& source, const BmpLayout& bitmap) {
    std::vector<std::uint8_t> table(std::size_t{bitmap.entryCount} * bitmap.entrySize);
    readRow(source, bitmap.paletteOffset, table);
    QList<QRgb> colours(1 << bitmap.bitsPerPixel, qRgb(0, 0, 0));
    const auto defined = std::min<std::size_t>(bitmap.entryCount, colours.size());
    for (std::size_t entry = 0; entry < defined; ++entry) {
        const std::uint8_t* bgr = &table[entry * bitmap.entrySize];
        colours[static_cast<qsizetype>(entry)] = qRgb(bgr[2], bgr[1], bgr[0]);
    }
    return colours;
}

// Uncompressed palette rows, sampled like plain ones: only the rows shown are read, so a large
// picture costs no more memory than its preview.
QImage readPlainPalette(const ByteSource& source, const BmpLayout& bitmap, int largest) {
    QImage picture = sampledImage(bitmap, largest, QImage::Format_Indexed8);
    const QSize size = picture.size();
    picture.setColorTable(colourTable(source, bitmap));
    const unsigned bits = bitmap.bitsPerPixel;
    const unsigned mask = (1u << bits) - 1;
    std::vector<std::uint8_t> row(bitmap.stride);
    for (int y = 0; y < size.height(); ++y) {
        readRow(source, sampledRowOffset(bitmap, y, size.height()), row);
        std::uint8_t* line = picture.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const std::size_t bit =
                static_cast<std::size_t>(x) * bitmap.width / size.width() * bits;
            line[x] = static_cast<std::uint8_t>((row[bit / 8] >> (8 - bits - bit % 8)) & mask);
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

QImage readBytesWithQt(const std::vector<std::uint8_t>& bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Large photographs are welcome: 8000 x 6000 alone needs about 190 MB decoded.
    QImageReader::setAllocationLimit(4096);
    return reader.read();
}

void put(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value,
         std::size_t size = 4) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Where a four-byte pixel keeps its colour channels, as bit masks.
std::array<std::uint32_t, 3> colourMasks(const BmpLayout& layout) {
    if (layout.shifts) {
        return {0xFFu << layout.shifts->red, 0xFFu << layout.shifts->green,
                0xFFu << layout.shifts->blue};
    }
    return {0xFFu << (8 * layout.channels.red), 0xFFu << (8 * layout.channels.green),
            0xFFu << (8 * layout.channels.blue)};
}

// The same picture under a header Qt's reader knows: a 40-byte one for a palette picture
// (RLE kept), a 108-byte one with the colour masks for a four-byte one, a plain colour table,
// and the pixel data as the file holds it. Headers of other sizes, OS/2 tables and masks in
// any order all read the way the conversion reads them; the fourth byte of a pixel is not
// shown.
std::vector<std::uint8_t> withPlainHeader(const std::vector<std::uint8_t>& bytes,
                                          const BmpLayout& layout) {
    const bool palette = layout.colours == ColourLayout::Palette;
    const std::uint32_t headerSize = layout.colours == ColourLayout::Masked32 ? 108 : 40;
    const std::uint32_t tableSize = palette ? layout.entryCount * 4 : 0;
    const std::uint32_t pixelOffset = 14 + headerSize + tableSize;
    const std::size_t pixels =
        bytes.size() - std::min<std::size_t>(bytes.size(), layout.pixelOffset);
    std::vector<std::uint8_t> plain(pixelOffset + pixels, 0);
    plain[0] = 'B';
    plain[1] = 'M';
    put(plain, 2, static_cast<std::uint32_t>(plain.size()));
    put(plain, 10, pixelOffset);
    put(plain, 14, headerSize);
    put(plain, 18, static_cast<std::uint32_t>(layout.width));
    put(plain, 22, static_cast<std::uint32_t>(layout.height));
    put(plain, 26, 1, 2);
    put(plain, 28, layout.bitsPerPixel, 2);
    const std::uint32_t compression = layout.compression == Compression::Rle8   ? 1
                                      : layout.compression == Compression::Rle4 ? 2
                                      : palette                                 ? 0
                                                                                : 3;
    put(plain, 30, compression);
    put(plain, 46, palette ? layout.entryCount : 0);
    if (!palette) {
        const auto masks = colourMasks(layout);
        put(plain, 54, masks[0]);
        put(plain, 58, masks[1]);
        put(plain, 62, masks[2]);
    }
    for (std::uint32_t entry = 0; palette && entry < layout.entryCount; ++entry) {
        const std::size_t from = layout.paletteOffset + std::size_t{entry} * layout.entrySize;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), 3,
                    plain.begin() + 14 + headerSize + 4 * entry);
    }
    std::copy(bytes.end() - static_cast<std::ptrdiff_t>(pixels), bytes.end(),
              plain.begin() + pixelOffset);
    return plain;
}

// What Qt's reader makes of the bytes, or, when it refuses them, of the same picture under a
// header it knows, when the conversion can read the picture's layout.
QImage readAnyKind(const ByteSource& source, const std::vector<std::uint8_t>& bytes) {
    QImage picture = readBytesWithQt(bytes);
    if (!picture.isNull()) {
        return picture;
    }
    try {
        const BmpLayout layout = readBmpLayout(source);
        if (layout.colours != ColourLayout::Bgr24 && bytes.size() >= layout.paletteEnd()) {
            return readBytesWithQt(withPlainHeader(bytes, layout));
        }
    } catch (const Error&) {
        // Neither reader knows it.
    }
    return {};
}

QImage readWithQt(const ByteSource& source, int largest) {
    const std::vector<std::uint8_t> bytes = readWhole(source);
    QImage picture = readAnyKind(source, bytes);
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

// An uncompressed palette picture whose rows are all in the file; any other picture that is
// not plain 24-bit goes to Qt's readers, as does one whose layout the conversion does not read.
std::optional<BmpLayout> plainPaletteOf(const ByteSource& source) {
    std::uint8_t signature[2] = {};
    if (source.readAt(0, signature) != sizeof signature || signature[0] != 'B' ||
        signature[1] != 'M') {
        return std::nullopt;
    }
    try {
        BmpLayout layout = readBmpLayout(source);
        if (layout.colours == ColourLayout::Palette && layout.compression == Compression::None &&
            layout.rowsEnd() <= source.size() && layout.rowCount <= INT32_MAX) {
            return layout;
        }
    } catch (const Error& error) {
        if (error.kind() == ErrorKind::System) {
            throw;
        }
    }
    return std::nullopt;
}

} // namespace

QImage decodePicture(const ByteSource& source, int largest) {
    if (const auto bitmap = plainBitmapOf(source)) {
        return readPlainBitmap(source, *bitmap, largest);
    }
    if (const auto palette = plainPaletteOf(source)) {
        return readPlainPalette(source, *palette, largest);
    }
    return readWithQt(source, largest);
}

void checkPictureDecodes(const ByteSource& source) {
    if (!plainBitmapOf(source) && !plainPaletteOf(source)) {
        readWithQt(source, 1);
    }
}

QImage decodePictureFile(const std::filesystem::path& path, int largest) {
    return decodePicture(FileByteSource(path), largest);
}

} // namespace pixtint
