// SPDX-License-Identifier: MIT
#include "conversion/BatchRun.h"
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "filesafety/FileByteSource.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/ExpectedRecolouring.h"
#include "tests/support/TestFolder.h"

#include <algorithm>
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

// Names the first byte where `after` differs from what the file format says it must hold.
void expectRecolouredAsTheFormatSays(const Bytes& before, const Bytes& after) {
    std::string why;
    const auto expected =
        ExpectedRecolouring(BlackAndWhite.pairs, BlackAndWhite.tolerance).of(before, why);
    ASSERT_TRUE(expected) << "converted, but the format says: " << why;
    ASSERT_EQ(after.size(), expected->size());
    const auto differ = std::ranges::mismatch(after, *expected);
    EXPECT_TRUE(differ.in1 == after.end())
        << "byte " << (differ.in1 - after.begin()) << " is " << int{*differ.in1} << ", not "
        << int{*differ.in2} << " (was " << int{before[differ.in1 - after.begin()]} << ")";
}

// Pictures written by others, many of them broken on purpose: each one is converted, every
// matched pixel or palette entry and nothing else in its pair's colour, or not converted with a
// reason.
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
        expectRecolouredAsTheFormatSays(before, after);
    }
    EXPECT_GT(convertedCount, 30u);
}

} // namespace

} // namespace pixtint
