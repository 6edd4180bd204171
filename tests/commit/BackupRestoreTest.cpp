// SPDX-License-Identifier: MIT
#include "commit/BackupRestore.h"

#include "tests/commit/RecordedRun.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <map>

namespace pixtint {

namespace {

// Counts the folder flushes; the first of them fails with EIO.
struct FirstFlushFails : FileSystem {
    int flushes = 0;
    int syncFolder(int folder) override {
        return ++flushes == 1 ? EIO : FileSystem::syncFolder(folder);
    }
};

} // namespace

// Each folder is flushed once, before any of its pictures is reported; when that flush fails,
// its renamed pictures are not said to be restored, while the other folder's are.
TEST(BackupRestore, AFolderWhoseFlushFailsReportsNoPictureRestored) {
    TestFolder first;
    TestFolder second;
    first.write("a.bmp", Converted);
    first.write("a.bak", Original);
    first.write("c.bmp", Converted);
    second.write("d.bmp", Converted);
    second.write("d.bak", Original);
    FirstFlushFails fileSystem;
    std::map<std::filesystem::path, std::pair<RestoreOutcome, int>> heard; // and flushes before
    BackupRestore restore({}, fileSystem);
    const std::vector pictures{first / "a.bmp", first / "c.bmp", second / "d.bmp"};
    restore.restore(pictures, {.outcome =
                                   [&](const auto& picture, const RestoreOutcome& outcome) {
                                       heard[picture] = {outcome, fileSystem.flushes};
                                   },
                               .stopRequested = {},
                               .recovered = {}});

    const auto& [notFlushed, flushesBefore] = heard[first / "a.bmp"];
    EXPECT_EQ(notFlushed.status, RestoreStatus::NotFlushed);
    EXPECT_EQ(notFlushed.error.value_or(Error(ErrorKind::Unsupported)).systemError(), EIO);
    EXPECT_EQ(flushesBefore, 1);
    EXPECT_EQ(first.read("a.bmp"), Original) << "the rename itself happened";
    EXPECT_EQ(heard[first / "c.bmp"].first.status, RestoreStatus::NoBackup);
    EXPECT_EQ(heard[second / "d.bmp"].first.status, RestoreStatus::Restored);
    EXPECT_EQ(heard[second / "d.bmp"].second, 2);
}

} // namespace pixtint
