// SPDX-License-Identifier: MIT
#include "scan/FolderScan.h"
#include "tests/cli/ConvertProgram.h"
#include "tests/support/ExpectedRecolouring.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace pixtint {

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The colours the run below swaps.
const ExpectedRecolouring BlackAndWhite({{Rgb{}, Rgb{255, 255, 255}}, {Rgb{255, 255, 255}, Rgb{}}},
                                        0);

Bytes convertedAsTheFormatSays(const fs::path& original) {
    std::string why;
    auto expected = BlackAndWhite.of(contentOf(original), why);
    EXPECT_TRUE(expected) << "converted, but the format says: " << why;
    return expected.value_or(Bytes{});
}

} // namespace

// Every file of a corpus of real and broken BMP files ends in one status, the program ends
// by itself with the status its files call for, a converted file holds its swapped colours
// and its backup the original, and a file that was not converted is left as it was.
TEST(CorpusRun, EveryFileEndsInOneStatusAndOnlyConvertedFilesChange) {
    TestFolder folder;
    const fs::path copy = folder / "corpus";
    ASSERT_TRUE(fs::is_directory(PIXTINT_CORPUS_DIR)) << "no corpus at " << PIXTINT_CORPUS_DIR;
    fs::copy(PIXTINT_CORPUS_DIR, copy, fs::copy_options::recursive);
    fs::permissions(copy, fs::perms::owner_all, fs::perm_options::add);
    std::set<fs::path> pictures;
    for (const auto& entry : fs::recursive_directory_iterator(copy)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        if (matchesWildcard(entry.path().filename().string(), "*.bmp")) {
            pictures.insert(entry.path());
        }
    }
    ASSERT_FALSE(pictures.empty());

    const auto run = runConvert(
        {"--json", "-r", "-m", "000000=ffffff", "-m", "ffffff=000000", "-g", "top", copy.string()});
    ASSERT_EQ(run.signal, 0);

    std::istringstream lines(run.out);
    std::set<fs::path> reported;
    bool anyFailed = false;
    for (std::string line; std::getline(lines, line);) {
        const auto object = nlohmann::json::parse(line);
        const fs::path path = object["path"].get<std::string>();
        const auto original = fs::path(PIXTINT_CORPUS_DIR) / path.lexically_relative(copy);
        const std::string status = object["status"];
        SCOPED_TRACE(line);
        EXPECT_TRUE(reported.insert(path).second);
        const auto backup = fs::path(path).replace_extension(".bak");
        anyFailed = anyFailed || status == "failed";
        if (status == "converted") {
            EXPECT_EQ(contentOf(backup), contentOf(original));
            EXPECT_NE(contentOf(path), contentOf(original));
            EXPECT_EQ(contentOf(path), convertedAsTheFormatSays(original));
        } else {
            EXPECT_TRUE(status == "unchanged" || status == "skipped" || status == "failed");
            if (status == "skipped") {
                EXPECT_FALSE(object.value("reason", "").empty()); // every skip says why
            }
            EXPECT_EQ(contentOf(path), contentOf(original));
            EXPECT_FALSE(fs::exists(backup));
        }
    }
    EXPECT_EQ(reported, pictures);
    EXPECT_EQ(run.exitStatus, anyFailed ? 1 : 0);
}

} // namespace pixtint
