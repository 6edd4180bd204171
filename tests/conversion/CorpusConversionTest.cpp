// SPDX-License-Identifier: MIT
// The public corpus of real and broken BMP files, black and white swapped and blue made green
// within 8, checked against what an independent reader (Qt's) decodes before and after.

#include "conversion/FileConversion.h"
#include "engine/Error.h"
#include "tests/support/MemoryBytes.h"
#include "tests/support/TestFolder.h"

#include <QImage>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

const std::vector<ColourPair> Swaps{
    {Rgb{}, Rgb{255, 255, 255}}, {Rgb{255, 255, 255}, Rgb{}}, {Rgb{0, 0, 255}, Rgb{0, 255, 0}}};
constexpr int Tolerance = 8;

// The colour the user is promised for `colour`: the TO colour of the first pair whose FROM
// colour is within the tolerance on every channel, else the colour itself.
QRgb promised(QRgb colour) {
    const auto near = [](int a, int b) {
        return std::abs(a - b) <= Tolerance;
    };
    for (const ColourPair& pair : Swaps) {
        if (near(qRed(colour), pair.from.red) && near(qGreen(colour), pair.from.green) &&
            near(qBlue(colour), pair.from.blue)) {
            return qRgba(pair.to.red, pair.to.green, pair.to.blue, qAlpha(colour));
        }
    }
    return colour;
}

std::uint32_t fieldAt(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           std::uint32_t{bytes[at + 3]} << 24;
}

// Every pixel drawn shows its promised colour. Compressed palette pixels are not decoded here
// (Qt leaves the pixels they skip unset): there every entry of the table must be promised.
void expectPromisedColours(const Bytes& before, const QImage& shownBefore, const QImage& shown) {
    ASSERT_EQ(shown.size(), shownBefore.size());
    if (fieldAt(before, 14) >= 40 && (before[30] == 1 || before[30] == 2)) {
        const QList<QRgb> table = shownBefore.colorTable();
        ASSERT_EQ(shown.colorTable().size(), table.size());
        for (qsizetype i = 0; i < table.size(); ++i) {
            EXPECT_EQ(shown.colorTable()[i], promised(table[i])) << "entry " << i;
        }
        return;
    }
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            ASSERT_EQ(shown.pixel(x, y), promised(shownBefore.pixel(x, y))) << x << ", " << y;
        }
    }
}

// What a broken file (the corpus's b/) shows is each reader's guess, and one questionable file's
// table is shorter than its pixels can index, where Qt takes the pixels' bytes for entries.
bool readDifferently(const std::filesystem::path& path) {
    return path.parent_path().filename() == "b" || path.filename() == "pal8os2sp.bmp";
}

} // namespace

// Each file is converted or refused with a reason. A converted one keeps its size and its
// headers, and shows exactly its swapped colours.
TEST(CorpusConversion, EachPictureShowsExactlyItsSwappedColours) {
    const ConversionRequest request{.pairs = Swaps, .tolerance = Tolerance, .everyKind = true};
    int checked = 0;
    for (const auto& path : corpusPictures()) {
        SCOPED_TRACE(path.lexically_relative(PIXTINT_CORPUS_DIR).string());
        const Bytes before = bytesOf(path);
        Bytes after;
        try {
            convertFile(MemorySource(before), request, [&](std::span<const std::uint8_t> part) {
                after.insert(after.end(), part.begin(), part.end());
            });
        } catch (const Error& error) {
            EXPECT_FALSE(error.reason().empty());
            continue;
        }
        ASSERT_EQ(after.size(), before.size());
        const auto headers = static_cast<std::ptrdiff_t>(14 + fieldAt(before, 14));
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + headers, after.begin()));
        const QImage shownBefore = QImage::fromData(before.data(), int(before.size()), "BMP");
        if (!shownBefore.isNull() && !readDifferently(path)) {
            expectPromisedColours(before, shownBefore,
                                  QImage::fromData(after.data(), int(after.size()), "BMP"));
            ++checked;
        }
    }
    EXPECT_GT(checked, 30);
}

} // namespace pixtint
