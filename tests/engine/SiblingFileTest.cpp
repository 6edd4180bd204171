#include "engine/SiblingFile.h"

#include "engine/FileBytes.h"
#include "engine/FolderLock.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/TestFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <numeric>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A sibling another run still writes is locked; one a killed run left is not.
TEST(EngineSiblingFile, CleanUpRemovesOnlyUnheldSiblings) {
    TestFolder folder;
    folder.write(".a.bmp.pixtint-Ab12Cd", {1});
    folder.write(".a.bmp.pixtint-Cd34Ef", {2});
    folder.write(".a.bmp.pixtint-notours", {3});
    const UniqueFd held(::open((folder / ".a.bmp.pixtint-Cd34Ef").c_str(), O_RDONLY));
    ASSERT_EQ(::flock(held.get(), LOCK_EX), 0);
    removeLeftoverSiblings(FolderLock(folder.path()).descriptor());
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{".a.bmp.pixtint-Cd34Ef", ".a.bmp.pixtint-notours"}));
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
