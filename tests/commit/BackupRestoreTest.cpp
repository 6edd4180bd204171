// SPDX-License-Identifier: MIT
#include "commit/BackupRestore.h"

#include "tests/commit/RecordedRun.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <map>

namespace pixtint {

namespace {

// Counts the folder flushes; the first `failing` of them fail with EIO.
struct CountedFlushes : FileSystem {
    int failing = 0;
    int flushes = 0;
    int syncFolder(int folder) override {
        return ++flushes <= failing ? EIO : FileSystem::syncFolder(folder);
    }
};

struct Heard {
    RestoreOutcome outcome;
    int flushesBefore = 0;
};

// A converted picture with its backup beside it.
void converted(const TestFolder& folder, const std::string& picture, const std::string& backup) {
    folder.write(picture, Converted);
    folder.write(backup, Original);
}

} // namespace

// Each folder is flushed once, before any of its pictures is reported; when that flush fails,
// its renamed pictures are not said to be restored, while the other folder's are.
TEST(BackupRestore, AFolderWhoseFlushFailsReportsNoPictureRestored) {
    TestFolder first;
    TestFolder second;
    converted(first, "a.bmp", "a.bak");
    converted(first, "b.bmp", "b.bak");
    first.write("c.bmp", Converted);
    converted(second, "d.bmp", "d.bak");
    const std::vector pictures{first / "a.bmp", first / "b.bmp", first / "c.bmp", second / "d.bmp"};

    CountedFlushes fileSystem;
    fileSystem.failing = 1;
    std::map<std::filesystem::path, Heard> heard;
    BackupRestore restore({}, fileSystem);
    EXPECT_TRUE(
        restore.restore(pictures, {.outcome =
                                       [&](const auto& picture, const RestoreOutcome& outcome) {
                                           heard[picture] = {outcome, fileSystem.flushes};
                                       },
                                   .stopRequested = {},
                                   .recovered = {}}));

    EXPECT_EQ(fileSystem.flushes, 2);
    ASSERT_EQ(heard.size(), pictures.size());
    for (const auto* name : {"a.bmp", "b.bmp"}) {
        const Heard& notFlushed = heard[first / name];
        EXPECT_EQ(notFlushed.outcome.status, RestoreStatus::NotFlushed) << name;
        ASSERT_TRUE(notFlushed.outcome.error) << name;
        EXPECT_EQ(notFlushed.outcome.error->kind(), ErrorKind::System);
        EXPECT_EQ(notFlushed.outcome.error->systemError(), EIO);
        EXPECT_EQ(notFlushed.flushesBefore, 1) << name;
        EXPECT_EQ(first.read(name), Original) << "the rename itself happened";
    }
    EXPECT_EQ(heard[first / "c.bmp"].outcome.status, RestoreStatus::NoBackup);
    EXPECT_EQ(heard[second / "d.bmp"].outcome.status, RestoreStatus::Restored);
    EXPECT_EQ(heard[second / "d.bmp"].flushesBefore, 2);
    EXPECT_EQ(first.names(), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
}

// A stop between two pictures of one folder still flushes and reports what was restored, and
// leaves the rest as it was.
TEST(BackupRestore, AStopWithinAFolderFlushesWhatWasRestored) {
    TestFolder folder;
    converted(folder, "a.bmp", "a.bak");
    converted(folder, "b.bmp", "b.bak");
    CountedFlushes fileSystem;
    std::vector<std::pair<std::filesystem::path, RestoreStatus>> heard;
    int asked = 0;
    BackupRestore restore({}, fileSystem);
    const std::vector pictures{folder / "a.bmp", folder / "b.bmp"};
    const bool finished =
        restore.restore(pictures, {.outcome =
                                       [&](const auto& picture, const RestoreOutcome& outcome) {
                                           heard.emplace_back(picture, outcome.status);
                                       },
                                   // asked before each picture: stops after the first
                                   .stopRequested = [&] { return ++asked > 1; },
                                   .recovered = {}});

    EXPECT_FALSE(finished);
    EXPECT_EQ(fileSystem.flushes, 1);
    EXPECT_EQ(heard, (std::vector<std::pair<std::filesystem::path, RestoreStatus>>{
                         {folder / "a.bmp", RestoreStatus::Restored}}));
    EXPECT_EQ(folder.read("a.bmp"), Original);
    EXPECT_EQ(folder.read("b.bmp"), Converted);
    EXPECT_EQ(folder.read("b.bak"), Original);
}

} // namespace pixtint
