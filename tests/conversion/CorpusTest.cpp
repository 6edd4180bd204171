#include "conversion/BatchRun.h"
#include "conversion/FileConversion.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

const ConversionRequest BlackToWhite{{{Rgb{}, Rgb{255, 255, 255}}}, Growth::Bottom, true};

Bytes convertedBytes(const std::filesystem::path& path) {
    Bytes bytes;
    convertFile(FileByteSource(path), BlackToWhite, [&](std::span<const std::uint8_t> part) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    });
    return bytes;
}

// Pictures written by others, many of them broken on purpose: each one ends in a status, a
// file is changed only when it is converted, and then into exactly the converted bytes.
TEST(ConversionCorpus, EveryFileEndsInAStatusAndOnlyConvertedFilesChange) {
    TestFolder folder;
    std::vector<std::filesystem::path> files;
    std::vector<Bytes> originals;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PIXTINT_CORPUS_DIR)) {
        if (entry.is_regular_file()) {
            const auto copy = folder / (std::to_string(files.size()) + ".bmp");
            std::filesystem::copy_file(entry.path(), copy);
            files.push_back(copy);
            originals.push_back(folder.read(copy.filename()));
        }
    }
    ASSERT_GT(files.size(), 0u);
    std::vector<Bytes> expected;
    for (const auto& file : files) {
        try {
            expected.push_back(convertedBytes(file));
        } catch (const Error&) {
            expected.emplace_back();
        }
    }
    std::vector<FileOutcome> outcomes;
    BatchCallbacks callbacks;
    callbacks.outcome = [&](const FileOutcome& outcome) {
        outcomes.push_back(outcome);
    };
    BatchRun(BlackToWhite, {.requireSignature = true, .jobs = 2}).run(files, callbacks);
    ASSERT_EQ(outcomes.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].string());
        const auto name = files[i].filename().string();
        const Bytes now = folder.read(name);
        if (outcomes[i].status == FileStatus::Converted) {
            EXPECT_TRUE(now == expected[i]);
            EXPECT_TRUE(folder.read(name.substr(0, name.size() - 3) + "bak") == originals[i]);
        } else {
            EXPECT_TRUE(now == originals[i]);
        }
    }
}

} // namespace

} // namespace pixtint
