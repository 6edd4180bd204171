#include "StdFileSearch.h"

#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct CollectedNames : StdFileSearch::ListItems {
    void Add(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

std::vector<std::string> listed(const std::string& pattern) {
    CollectedNames list;
    StdFileSearch::ListMatchingFiles(pattern, list);
    return list.names;
}

} // namespace

TEST(StdFileSearch, WildcardIgnoresTheCaseOfLetters) {
    using StdFileSearch::MatchesWildcard;
    EXPECT_TRUE(MatchesWildcard("a.BMP", "*.bmp"));
    EXPECT_TRUE(MatchesWildcard("b.Bmp", "*.bmp"));
    EXPECT_TRUE(MatchesWildcard(".bmp", "*.bmp"));
    EXPECT_TRUE(MatchesWildcard("x.bmp.bmp", "*.bmp"));
    EXPECT_FALSE(MatchesWildcard("a.bmp.txt", "*.bmp"));
    EXPECT_FALSE(MatchesWildcard("abmp", "*.bmp"));
    EXPECT_TRUE(MatchesWildcard("a1.bmp", "a?.bmp"));
    EXPECT_FALSE(MatchesWildcard("a.bmp", "a?.bmp"));
}

TEST(StdFileSearch, ListsMatchingEntriesOfEveryKindInNameOrder) {
    TestFolder folder;
    for (const char* name : {"b.bmp", "a.BMP", "notes.txt", " blank start.bmp", "C.bmp"}) {
        folder.write(name, {1, 2, 3});
    }
    std::filesystem::create_directory(folder / "old.bmp");
    const std::string pattern = folder.path().string() + "/*.bmp";

    const std::vector<std::string> expected{" blank start.bmp", "a.BMP", "b.bmp", "C.bmp",
                                            "old.bmp"};
    EXPECT_EQ(listed(pattern), expected);
}

TEST(StdFileSearch, AppendsBehindWhatTheListHoldsAndAddsNothingForAMissingFolder) {
    TestFolder folder;
    folder.write("x.bmp", {});
    CollectedNames list;
    StdFileSearch::ListMatchingFiles(folder.path().string() + "/*.bmp", list);
    StdFileSearch::ListMatchingFiles(folder.path().string() + "/*.bmp", list);
    StdFileSearch::ListMatchingFiles(folder.path().string() + "/gone/*.bmp", list);
    EXPECT_EQ(list.names, (std::vector<std::string>{"x.bmp", "x.bmp"}));
}
