// SPDX-License-Identifier: MIT
#include "filesafety/SiblingFile.h"

#include "filesafety/OwnNames.h"
#include "tests/support/MemoryBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace pixtint {

namespace {

TEST(SiblingFile, ReplacesItsTargetWholeAndOnlyWhenAsked) {
    TestFolder folder;
    folder.write("t.ini", Bytes(5000, 1));
    ::chmod((folder / "t.ini").c_str(), 0640);
    {
        SiblingFile sibling(folder / "t.ini");
        sibling.write(Bytes{9, 9});
    }
    EXPECT_EQ(folder.read("t.ini"), Bytes(5000, 1));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"t.ini"});

    SiblingFile sibling(folder / "t.ini");
    sibling.write(Bytes{4, 5});
    sibling.write(Bytes{6});
    sibling.replaceTarget();
    EXPECT_EQ(folder.read("t.ini"), (Bytes{4, 5, 6}));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"t.ini"});
    struct stat status {};
    ::stat((folder / "t.ini").c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    // The sibling of a name just within the limit must still have a valid name.
    const std::string longest(255, 'n');
    writeFileAtomically(folder / longest, Bytes{1});
    EXPECT_EQ(folder.read(longest), Bytes{1});
}

// The settings are written alone, with no flush of the file system around them: their own
// flush must come before the rename that makes them the file, and the folder's after it.
struct CallLog : FileSystem {
    std::vector<std::string> calls;
    int syncFile(int descriptor) override {
        calls.push_back("flush file");
        return FileSystem::syncFile(descriptor);
    }
    int renameInFolder(int folder, const char* from, const char* to, unsigned flags) override {
        calls.push_back("rename");
        return FileSystem::renameInFolder(folder, from, to, flags);
    }
    int syncFolder(int folder) override {
        calls.push_back("flush folder");
        return FileSystem::syncFolder(folder);
    }
};

TEST(SiblingFile, IsFlushedBeforeItTakesTheTargetsName) {
    TestFolder folder;
    folder.write("t.ini", Bytes{1});
    CallLog log;
    writeFileAtomically(folder / "t.ini", Bytes{2}, log);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"flush file", "rename", "flush folder"}));
    EXPECT_EQ(folder.read("t.ini"), Bytes{2});
}

// An own name fits in one name whatever it belongs to, says what it was given, and keeps a
// shortened name's picture apart from the one it was shortened to; what only looks like one,
// a user's dated backup or a made-up number, is no own name.
TEST(OwnNames, FitTellTheirFileAndAreNotMistaken) {
    const std::string longest(255, 'n');
    const std::string shortened = std::string(244, 'A') + ".bakZ.bak";
    for (const std::string& name : {std::string("a.bak"), longest, shortened}) {
        const auto own = ownName(name, OwnRole::Held, 0x1234, 7);
        EXPECT_LE(own.size(), 255u);
        const auto parsed = parseOwnName(own);
        ASSERT_TRUE(parsed) << own;
        EXPECT_EQ(parsed->role, OwnRole::Held);
        EXPECT_EQ(parsed->file, 0x1234u);
        EXPECT_EQ(parsed->other, 7u);
        EXPECT_EQ(parsed->key, nameKey(name));
    }
    EXPECT_NE(nameKey(shortened), nameKey(std::string(244, 'A') + ".bak"));
    for (const char* lookalike :
         {"logo.bak.202401", ".a.bmp.pixtint-Ab12Cd", "a.bak.pixtint-held-1-2-0-Ab12Cd",
          ".a.bak.pixtint-held-zz-2-0-Ab12Cd", ".a.bak.pixtint-held-1-0-0-Ab12Cd",
          ".a.bak.pixtint-kept-1-2-0-Ab12Cd", ".a.bak.pixtint-held-1-2-0-Ab12C"}) {
        EXPECT_FALSE(parseOwnName(lookalike)) << lookalike;
    }
}

} // namespace

} // namespace pixtint
