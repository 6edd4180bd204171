// SPDX-License-Identifier: MIT
#include "tests/cli/ConvertProgram.h"
#include "tests/support/ExpectedRecolouring.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>

namespace pixtint {

namespace fs = std::filesystem;

// A copy of the corpus of real and broken BMP files run through pixtint-convert, black and
// white swapped and blue made green: every file ends in one status, the program ends by itself
// with the status its files call for, a file that was not converted is left as it was without
// a backup, and a converted one has its original as its backup and holds exactly its swapped
// colours, every matched pixel or palette entry and nothing else, as a reader of the format
// written apart from the program's says.
TEST(CorpusRun, EachConvertedFileHoldsExactlyItsSwappedColours) {
    TestFolder folder;
    const fs::path copy = folder / "corpus";
    fs::copy(PIXTINT_CORPUS_DIR, copy, fs::copy_options::recursive);
    fs::permissions(copy, fs::perms::owner_all, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(copy)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    }
    std::set<fs::path> pictures;
    for (const auto& original : corpusPictures()) {
        pictures.insert(copy / original.lexically_relative(PIXTINT_CORPUS_DIR));
    }
    const ExpectedRecolouring oracle({{Rgb{}, Rgb{255, 255, 255}},
                                      {Rgb{255, 255, 255}, Rgb{}},
                                      {Rgb{0, 0, 255}, Rgb{0, 255, 0}}},
                                     8);

    const auto run =
        runConvert({"--json", "-r", "-g", "top", "-m", "000000=ffffff", "-m", "ffffff=000000", "-m",
                    "0000ff=00ff00", "--tolerance", "8", copy.string()});
    ASSERT_EQ(run.signal, 0);
    std::set<fs::path> reported;
    bool anyFailed = false;
    int converted = 0;
    for (const auto& line : linesOf(run.out)) {
        SCOPED_TRACE(line);
        const auto object = nlohmann::json::parse(line);
        const fs::path path = object["path"].get<std::string>();
        const auto original = bytesOf(fs::path(PIXTINT_CORPUS_DIR) / path.lexically_relative(copy));
        const auto backup = fs::path(path).replace_extension(".bak");
        const std::string status = object["status"];
        EXPECT_TRUE(reported.insert(path).second);
        anyFailed = anyFailed || status == "failed";
        if (status != "converted") {
            EXPECT_TRUE(status == "unchanged" || status == "skipped" || status == "failed");
            if (status != "unchanged") { // every skip and failure says why
                EXPECT_FALSE(object.value(status == "skipped" ? "reason" : "error", "").empty());
            }
            EXPECT_EQ(bytesOf(path), original);
            EXPECT_FALSE(fs::exists(backup));
            continue;
        }
        ++converted;
        EXPECT_EQ(bytesOf(backup), original);
        std::string why;
        const auto expected = oracle.of(original, why);
        ASSERT_TRUE(expected) << "converted, but the format says: " << why;
        const auto now = bytesOf(path);
        EXPECT_NE(now, original);
        ASSERT_EQ(now.size(), expected->size());
        const auto differ = std::ranges::mismatch(now, *expected);
        EXPECT_TRUE(differ.in1 == now.end()) << "byte " << (differ.in1 - now.begin()) << " is "
                                             << int{*differ.in1} << ", not " << int{*differ.in2};
    }
    EXPECT_EQ(reported, pictures);
    EXPECT_EQ(run.exitStatus, anyFailed ? 1 : 0);
    EXPECT_GT(converted, 30);
}

} // namespace pixtint
