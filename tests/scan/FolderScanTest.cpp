// SPDX-License-Identifier: MIT
#include "scan/FolderScan.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pixtint {

TEST(FolderScan, WildcardIgnoresTheCaseOfLetters) {
    EXPECT_TRUE(matchesWildcard("a.BMP", "*.bmp"));
    EXPECT_TRUE(matchesWildcard(".bmp", "*.bmp"));
    EXPECT_TRUE(matchesWildcard("x.bmp.bmp", "*.bmp"));
    EXPECT_FALSE(matchesWildcard("a.bmp.txt", "*.bmp"));
    EXPECT_FALSE(matchesWildcard("abmp", "*.bmp"));
    EXPECT_TRUE(matchesWildcard("a1.bmp", "a?.bmp"));
    EXPECT_FALSE(matchesWildcard("a.bmp", "a?.bmp"));
}

TEST(FolderScan, ListsMatchingEntriesOfEveryKindInNameOrderAndNothingForAMissingFolder) {
    TestFolder folder;
    for (const char* name :
         {"b.bmp", "画像.bmp", "a.BMP", "notes.txt", " blank start.bmp", "C.bmp", "~.bmp"}) {
        folder.write(name, {1, 2, 3});
    }
    std::filesystem::create_directory(folder / "old.bmp");
    EXPECT_EQ(matchingNames(folder.path().string() + "/*.bmp"),
              (std::vector<std::string>{" blank start.bmp", "a.BMP", "b.bmp", "C.bmp", "old.bmp",
                                        "~.bmp", "画像.bmp"}));
    EXPECT_TRUE(matchingNames(folder.path().string() + "/gone/*.bmp").empty());
}

} // namespace pixtint
