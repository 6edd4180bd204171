#include "engine/FileBytes.h"

#include "tests/engine/EngineBytes.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <numeric>
#include <unistd.h>

namespace pixtint {

namespace {

TEST(EngineAtomicFileWriter, ReplacesTheTargetWholeOnCommitOnly) {
    TestFolder folder;
    folder.write("t.ini", Bytes(5000, 1));
    {
        AtomicFileWriter writer(folder / "t.ini");
        writer.write(Bytes{9, 9});
    }
    EXPECT_EQ(folder.read("t.ini"), Bytes(5000, 1));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"t.ini"});

    AtomicFileWriter writer(folder / "t.ini");
    writer.write(Bytes{4, 5});
    writer.write(Bytes{6});
    writer.commit();
    EXPECT_EQ(folder.read("t.ini"), (Bytes{4, 5, 6}));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"t.ini"});

    // The sibling written first must still have a valid name.
    const std::string longest(255, 'n');
    writeFileAtomically(folder / longest, Bytes{1});
    EXPECT_EQ(folder.read(longest), Bytes{1});
}

TEST(EngineFileBytes, FailuresCarryTheirNumbers) {
    TestFolder folder;
    EXPECT_EQ(errorNumberOf([&] { writeFileAtomically(folder / "no" / "x", Bytes{1}); }), 76);
    EXPECT_EQ(errorNumberOf([&] { readWholeFile(folder.path()); }), 75);
    EXPECT_EQ(errorNumberOf([&] { renameOver(folder / "none", folder / "b"); }), 53);
    if (::geteuid() != 0) { // permissions do not hold root back
        std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_exec);
        EXPECT_EQ(errorNumberOf([&] { writeFileAtomically(folder / "x", Bytes{1}); }), 70);
    }
}

TEST(EngineFileBytes, ReadsCopiesAndRenames) {
    TestFolder folder;
    Bytes large(3 * (1 << 20) + 7);
    std::iota(large.begin(), large.end(), std::uint8_t{0});
    folder.write("a", large);

    EXPECT_EQ(readWholeFile(folder / "a"), large);
    EXPECT_EQ(readFilePrefix(folder / "a", 29), Bytes(large.begin(), large.begin() + 29));
    copyFileAtomically(folder / "a", folder / "b");
    EXPECT_EQ(folder.read("b"), large);
    folder.write("c", {1});
    renameOver(folder / "c", folder / "b");
    EXPECT_EQ(folder.read("b"), Bytes{1});
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a", "b"}));
}

} // namespace

} // namespace pixtint
