#include "scan/StdFileSearch.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pixtint {

TEST(StdFileSearch, WildcardIgnoresTheCaseOfLetters) {
    using StdFileSearch::MatchesWildcard;
    EXPECT_TRUE(MatchesWildcard("a.BMP", "*.bmp"));
    EXPECT_TRUE(MatchesWildcard(".bmp", "*.bmp"));
    EXPECT_TRUE(MatchesWildcard("x.bmp.bmp", "*.bmp"));
    EXPECT_FALSE(MatchesWildcard("a.bmp.txt", "*.bmp"));
    EXPECT_FALSE(MatchesWildcard("abmp", "*.bmp"));
    EXPECT_TRUE(MatchesWildcard("a1.bmp", "a?.bmp"));
    EXPECT_FALSE(MatchesWildcard("a.bmp", "a?.bmp"));
}

TEST(StdFileSearch, AppendsMatchingEntriesOfEveryKindInNameOrderAndNothingForAMissingFolder) {
    TestFolder folder;
    for (const char* name :
         {"b.bmp", "画像.bmp", "a.BMP", "notes.txt", " blank start.bmp", "C.bmp", "~.bmp"}) {
        folder.write(name, {1, 2, 3});
    }
    std::filesystem::create_directory(folder / "old.bmp");
    struct : StdFileSearch::ListItems {
        void Add(const std::string& name) override { names.push_back(name); }
        std::vector<std::string> names{"kept"};
    } list;
    StdFileSearch::ListMatchingFiles(folder.path().string() + "/*.bmp", list);
    StdFileSearch::ListMatchingFiles(folder.path().string() + "/gone/*.bmp", list);
    EXPECT_EQ(list.names, (std::vector<std::string>{"kept", " blank start.bmp", "a.BMP", "b.bmp",
                                                    "C.bmp", "old.bmp", "~.bmp", "画像.bmp"}));
}

} // namespace pixtint
