// SPDX-License-Identifier: MIT
#include "conversion/BatchRun.h"
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "engine/BmpLayout.h"
#include "filesafety/FileByteSource.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

const ConversionRequest BlackAndWhite{.pairs = {{Rgb{}, Rgb{255, 255, 255}},
                                                {Rgb{255, 255, 255}, Rgb{}},
                                                {Rgb{0, 0, 255}, Rgb{0, 255, 0}}},
                                      .growth = Growth::Bottom,
                                      .keepBackup = true,
                                      .tolerance = 8,
                                      .everyKind = true};

std::vector<std::filesystem::path> corpusFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PIXTINT_CORPUS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".bmp") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

Rgb colourAt(const Bytes& bytes, std::uint64_t at, const ChannelBytes& channels) {
    return {bytes[at + channels.red], bytes[at + channels.green], bytes[at + channels.blue]};
}

std::uint32_t pixelAt(const Bytes& bytes, std::uint64_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

// Four-byte pixels whose channels are bits, not bytes: a changed pixel was matched, has its
// pair's colour, and kept every bit outside the channels.
void expectOnlyMatchedPixelsChanged(const Bytes& before, const Bytes& after,
                                    const BmpLayout& layout, const ChannelShifts& shifts) {
    const ColourMap colours(BlackAndWhite.pairs, BlackAndWhite.tolerance);
    const auto colourOf = [&](std::uint32_t value) {
        return Rgb{static_cast<std::uint8_t>(value >> shifts.red),
                   static_cast<std::uint8_t>(value >> shifts.green),
                   static_cast<std::uint8_t>(value >> shifts.blue)};
    };
    for (std::uint64_t at = 0; at < before.size(); ++at) {
        const std::uint64_t into = (at - layout.pixelOffset) % layout.stride;
        const bool pixel = at >= layout.pixelOffset && at < layout.rowsEnd() &&
                           into < static_cast<std::uint64_t>(layout.width) * 4 &&
                           at + 4 <= before.size();
        if (!pixel || into % 4 != 0) {
            ASSERT_TRUE(pixel || before[at] == after[at]) << "byte " << at << " changed";
            continue;
        }
        const std::uint32_t was = pixelAt(before, at);
        const std::uint32_t is = pixelAt(after, at);
        const auto match = colours.matchOf(colourOf(was));
        EXPECT_EQ(colourOf(is), match ? colours.pairs()[*match].to : colourOf(was)) << at;
        EXPECT_EQ(is & ~shifts.colourBits(), was & ~shifts.colourBits()) << at;
    }
}

// Every byte that differs lies in a pixel or a palette entry whose old colour a pair matched
// and whose new colour is that pair's; the fourth byte of a 32-bit pixel never changes.
void expectOnlyMatchedColoursChanged(const Bytes& before, const Bytes& after,
                                     const BmpLayout& layout) {
    ASSERT_EQ(before.size(), after.size());
    if (layout.shifts) {
        expectOnlyMatchedPixelsChanged(before, after, layout, *layout.shifts);
        return;
    }
    const ColourMap colours(BlackAndWhite.pairs, BlackAndWhite.tolerance);
    const bool palette = layout.colours == ColourLayout::Palette;
    const std::uint64_t unit = palette ? layout.entrySize : layout.bitsPerPixel / 8;
    const std::uint64_t first = palette ? layout.paletteOffset : layout.pixelOffset;
    const std::uint64_t end = palette ? layout.paletteEnd() : layout.rowsEnd();
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(layout.width) * unit;
    for (std::uint64_t at = 0; at < before.size(); ++at) {
        if (before[at] == after[at]) {
            continue;
        }
        ASSERT_TRUE(at >= first && at < end) << "byte " << at << " changed";
        const std::uint64_t into = palette ? (at - first) : (at - first) % layout.stride;
        ASSERT_TRUE(palette || into < rowBytes) << "padding byte " << at << " changed";
        const std::uint64_t start = at - into % unit;
        const ChannelBytes channels = palette ? ChannelBytes{} : layout.channels;
        ASSERT_NE(at - start, unit == 4 && !palette ? channels.fourth : 4u) << at;
        const auto match = colours.matchOf(colourAt(before, start, channels));
        ASSERT_TRUE(match) << "unmatched colour changed at " << at;
        EXPECT_EQ(colourAt(after, start, channels), colours.pairs()[*match].to) << at;
    }
}

// Pictures written by others, many of them broken on purpose: each one is converted, with only
// matched pixels or palette entries changed, or not converted with a reason.
TEST(ConversionCorpus, EveryFileIsConvertedExactlyOrLeftWithAReason) {
    const auto files = corpusFiles();
    ASSERT_GT(files.size(), 50u);
    std::size_t convertedCount = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const FileByteSource source(file);
        Bytes before(source.size());
        before.resize(source.readAt(0, before));
        Bytes after;
        const auto error = errorOf([&] {
            const ConversionResult result =
                convertFile(source, BlackAndWhite, [&](std::span<const std::uint8_t> part) {
                    after.insert(after.end(), part.begin(), part.end());
                });
            EXPECT_FALSE(result.grown); // no 16 x 15 picture in the corpus
        });
        if (error) {
            EXPECT_FALSE(error->reason().empty());
            continue;
        }
        ++convertedCount;
        expectOnlyMatchedColoursChanged(before, after, readBmpLayout(source));
    }
    EXPECT_GT(convertedCount, 30u);
}

} // namespace

} // namespace pixtint
