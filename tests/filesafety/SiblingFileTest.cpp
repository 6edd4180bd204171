// SPDX-License-Identifier: MIT
#include "filesafety/SiblingFile.h"

#include "filesafety/FileBytes.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <numeric>
#include <sys/stat.h>

namespace pixtint {

namespace {

TEST(EngineSiblingFile, ReplacesItsTargetWholeAndOnlyWhenAsked) {
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

TEST(EngineFileBytes, ReadsAWholeFileLargerThanOneStep) {
    TestFolder folder;
    Bytes large(3 * (1 << 20) + 7);
    std::iota(large.begin(), large.end(), std::uint8_t{0});
    folder.write("a", large);
    EXPECT_EQ(readWholeFile(folder / "a"), large);
}

} // namespace

} // namespace pixtint
