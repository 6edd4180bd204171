// SPDX-License-Identifier: MIT
// The public corpus of real and broken BMP files, black and white swapped and blue made green
// within 8, or a colour made transparent, checked against what an independent reader (Qt's)
// decodes before and after.

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
bool near(QRgb colour, QRgb key) {
    return std::abs(qRed(colour) - qRed(key)) <= Tolerance &&
           std::abs(qGreen(colour) - qGreen(key)) <= Tolerance &&
           std::abs(qBlue(colour) - qBlue(key)) <= Tolerance;
}

QRgb promised(QRgb colour) {
    for (const ColourPair& pair : Swaps) {
        if (near(colour, qRgb(pair.from.red, pair.from.green, pair.from.blue))) {
            return qRgba(pair.to.red, pair.to.green, pair.to.blue, qAlpha(colour));
        }
    }
    return colour;
}

std::uint32_t fieldAt(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           std::uint32_t{bytes[at + 3]} << 24;
}

bool compressed(const Bytes& picture) {
    return fieldAt(picture, 14) >= 40 && (picture[30] == 1 || picture[30] == 2);
}

// Every pixel drawn shows its promised colour. Compressed palette pixels are not decoded here
// (Qt leaves the pixels they skip unset): there every entry of the table must be promised.
void expectPromisedColours(const Bytes& before, const QImage& shownBefore, const QImage& shown) {
    ASSERT_EQ(shown.size(), shownBefore.size());
    if (compressed(before)) {
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

Bytes converted(const Bytes& before, const ConversionRequest& request) {
    Bytes after;
    convertFile(MemorySource(before), request, [&](std::span<const std::uint8_t> part) {
        after.insert(after.end(), part.begin(), part.end());
    });
    return after;
}

QImage decoded(const Bytes& bytes) {
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
}

// What a broken file (the corpus's b/) shows is each reader's guess, and one questionable file's
// table is shorter than its pixels can index, where Qt takes the pixels' bytes for entries.
bool readDifferently(const std::filesystem::path& path) {
    return path.parent_path().filename() == "b" || path.filename() == "pal8os2sp.bmp";
}

// Compressed runs that skip pixels (the corpus's *rlecut and *rletrns): Qt leaves those pixels
// unset, while a picture made 32-bit gives them the colour table's first entry.
bool runsSkipPixels(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.find("rlecut") != std::string::npos || name.find("rletrns") != std::string::npos;
}

// Every pixel within the tolerance of the key is transparent; every other one keeps its colour
// and its alpha.
void expectTransparentWhereMatched(const QImage& before, const QImage& shown, QRgb key) {
    ASSERT_EQ(shown.size(), before.size());
    ASSERT_TRUE(shown.hasAlphaChannel());
    const QImage after = shown.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QRgb was = before.pixel(x, y);
            const bool matched = near(was, key);
            const QRgb is = after.pixel(x, y);
            ASSERT_EQ(matched ? qAlpha(is) : is, matched ? 0 : was) << x << ", " << y;
        }
    }
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
            after = converted(before, request);
        } catch (const Error& error) {
            EXPECT_FALSE(error.reason().empty());
            continue;
        }
        ASSERT_EQ(after.size(), before.size());
        const auto headers = static_cast<std::ptrdiff_t>(14 + fieldAt(before, 14));
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + headers, after.begin()));
        const QImage shownBefore = decoded(before);
        if (!shownBefore.isNull() && !readDifferently(path)) {
            expectPromisedColours(before, shownBefore, decoded(after));
            ++checked;
        }
    }
    EXPECT_GT(checked, 30);
}

// The colour of each picture's first pixel made transparent, within 8: a picture without alpha
// becomes one with it, whatever its kind.
TEST(CorpusConversion, EachPictureTurnsItsKeyTransparentAndKeepsEverythingElse) {
    int checked = 0;
    for (const auto& path : corpusPictures()) {
        SCOPED_TRACE(path.lexically_relative(PIXTINT_CORPUS_DIR).string());
        const Bytes before = bytesOf(path);
        const QImage shownBefore = decoded(before).convertToFormat(QImage::Format_ARGB32);
        if (shownBefore.isNull() || readDifferently(path) || runsSkipPixels(path)) {
            continue;
        }
        const QRgb key = shownBefore.pixel(0, 0);
        const Rgb from{std::uint8_t(qRed(key)), std::uint8_t(qGreen(key)),
                       std::uint8_t(qBlue(key))};
        Bytes after;
        try {
            after = converted(
                before, {.pairs = {{from, {}, true}}, .tolerance = Tolerance, .everyKind = true});
        } catch (const Error&) {
            continue; // refused: the test above checks the reason
        }
        expectTransparentWhereMatched(shownBefore, decoded(after), key);
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

} // namespace pixtint
