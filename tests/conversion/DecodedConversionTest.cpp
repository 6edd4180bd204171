// SPDX-License-Identifier: MIT
// The converted pictures as an independent reader (Qt's) decodes them: the grown ones have
// the expected 16 x 16 pixels, and a converted picture of the public corpus differs from its
// original only in the pixels whose colour a pair matched.

#include "conversion/FileConversion.h"
#include "engine/EntryUse.h"
#include "filesafety/FileByteSource.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/BmpBytes.h"

#include <QImage>
#include <gtest/gtest.h>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

Bytes converted(const Bytes& file, const ConversionRequest& request) {
    Bytes bytes;
    convertFile(MemorySource(file), request, [&](std::span<const std::uint8_t> part) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    });
    return bytes;
}

QImage decoded(const Bytes& bytes) {
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")
        .convertToFormat(QImage::Format_ARGB32);
}

Rgb colourOf(QRgb pixel) {
    return {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
            static_cast<std::uint8_t>(qBlue(pixel))};
}

// Row y of the 16 x 15 picture is shade 10 * y, with a mark at column y.
Bytes icon(int bits, std::uint32_t header, int height) {
    BmpRecipe recipe{.height = height,
                     .bitCount = bits,
                     .headerSize = header,
                     .compression = bits == 32 ? 3u : 0u};
    for (int stored = 0; stored < 15; ++stored) {
        const int y = height > 0 ? 14 - stored : stored;
        for (int x = 0; x < 16; ++x) {
            const auto shade = static_cast<std::uint8_t>(x == y ? 255 : 10 * y);
            recipe.pixels.insert(recipe.pixels.end(), {shade, shade, shade});
            if (bits == 32) {
                recipe.pixels.push_back(255);
            }
        }
    }
    return makeBmp(recipe);
}

TEST(DecodedConversion, GrownIconsShowTheNewRowAboveOrBelowThePicture) {
    constexpr Rgb Fill{0, 200, 40};
    for (const int bits : {24, 32}) {
        for (const std::uint32_t header : {40u, 108u, 124u}) {
            for (const int height : {15, -15}) {
                for (const bool top : {true, false}) {
                    SCOPED_TRACE(testing::Message() << bits << "-bit, " << header << ", " << height
                                                    << (top ? ", top" : ", bottom"));
                    const ConversionRequest grow{
                        {{Rgb{1, 2, 3}, Fill}}, top ? Growth::Top : Growth::Bottom, false, 0, true};
                    const QImage image = decoded(converted(icon(bits, header, height), grow));
                    ASSERT_EQ(image.width(), 16);
                    ASSERT_EQ(image.height(), 16);
                    const int newRow = top ? 0 : 15;
                    const int firstOwn = top ? 1 : 0;
                    for (int x = 0; x < 16; ++x) {
                        EXPECT_EQ(colourOf(image.pixel(x, newRow)), Fill);
                        for (int y = 0; y < 15; ++y) {
                            const auto shade = static_cast<std::uint8_t>(x == y ? 255 : 10 * y);
                            ASSERT_EQ(colourOf(image.pixel(x, firstOwn + y)),
                                      (Rgb{shade, shade, shade}))
                                << x << ", " << y;
                        }
                    }
                }
            }
        }
    }
}

// Compressed data may skip pixels, which no palette entry draws.
bool leavesPixelsUndrawn(const ByteSource& source) {
    const BmpLayout layout = readBmpLayout(source);
    if (!layout.compressed()) {
        return false;
    }
    std::uint64_t drawn = 0;
    for (const std::uint64_t count : countEntryUse(source, layout)) {
        drawn += count;
    }
    return drawn < static_cast<std::uint64_t>(layout.width) * layout.rowCount;
}

TEST(DecodedConversion, OnlyMatchedPixelsOfTheCorpusChange) {
    const ConversionRequest request{.pairs = {{Rgb{}, Rgb{255, 255, 255}},
                                              {Rgb{255, 255, 255}, Rgb{}},
                                              {Rgb{0, 0, 255}, Rgb{0, 255, 0}}},
                                    .tolerance = 8,
                                    .everyKind = true};
    const ColourMap colours(request.pairs, request.tolerance);
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PIXTINT_CORPUS_DIR)) {
        // What a reader makes of a broken file (an index past the table) is its own guess.
        const bool broken = entry.path().parent_path().filename() == "b";
        if (!entry.is_regular_file() || entry.path().extension() != ".bmp" || broken) {
            continue;
        }
        SCOPED_TRACE(entry.path().string());
        const FileByteSource source(entry.path());
        Bytes before(source.size());
        before.resize(source.readAt(0, before));
        Bytes after;
        if (errorOf([&] { after = converted(before, request); })) {
            continue; // not converted: the other tests check why
        }
        const QImage old = decoded(before);
        const QImage now = decoded(after);
        if (old.isNull() || leavesPixelsUndrawn(source)) {
            continue; // a picture Qt does not read either, or whose gaps it fills as it likes
        }
        ASSERT_EQ(now.size(), old.size());
        ++compared;
        for (int y = 0; y < old.height(); ++y) {
            for (int x = 0; x < old.width(); ++x) {
                const QRgb was = old.pixel(x, y);
                const QRgb is = now.pixel(x, y);
                ASSERT_EQ(qAlpha(is), qAlpha(was)) << x << ", " << y;
                const auto match = colours.matchOf(colourOf(was));
                const Rgb expected = match ? colours.pairs()[*match].to : colourOf(was);
                ASSERT_EQ(colourOf(is), expected) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(compared, 30);
}

} // namespace

} // namespace pixtint
