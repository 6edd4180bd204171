// SPDX-License-Identifier: MIT
#include "commit/BackupRestore.h"
#include "filesafety/OwnNames.h"
#include "filesafety/PosixFile.h"
#include "tests/commit/RecordedRun.h"
#include "tests/support/MemoryBytes.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Unprivileged.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

namespace {

// A folder of small pictures, some of them blue.
struct IconFolder : TestFolder {
    std::vector<std::filesystem::path> icons(int count, int firstRed = INT_MAX) const {
        std::vector<std::filesystem::path> paths;
        for (int i = 0; i < count; ++i) {
            const std::string name = "icon" + std::to_string(i) + ".bmp";
            write(name, i >= firstRed ? Converted : Original);
            paths.push_back(*this / name);
        }
        return paths;
    }
};

// Records the flushes of a run: each group's one flush of the file system, then each copy's.
struct FlushRecorder : FileSystem {
    std::vector<std::size_t> groupSizes;
    int syncFileSystem(int descriptor) override {
        groupSizes.push_back(0);
        return FileSystem::syncFileSystem(descriptor);
    }
    int syncData(int descriptor) override {
        ++groupSizes.back();
        return FileSystem::syncData(descriptor);
    }
};

TEST(BatchRun, ConvertsInGroupsWithBackupsAndReportsInOrder) {
    IconFolder folder;
    const auto files = folder.icons(7);
    folder.write("notes.txt", {1, 2, 3});
    folder.write("icon0.tmp", {7, 7}); // a user's own file, never touched
    FlushRecorder flushes;
    const auto recorded =
        record(BatchRun(blueToRed(), {.jobs = 3, .groupFiles = 3}, flushes), files);
    EXPECT_EQ(flushes.groupSizes, (std::vector<std::size_t>{3, 3, 1}));
    ASSERT_TRUE(recorded.finished);
    ASSERT_EQ(recorded.outcomes.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto name = files[i].filename().string();
        EXPECT_EQ(recorded.outcomes[i].index, i);
        EXPECT_EQ(recorded.status(i), FileStatus::Converted);
        EXPECT_EQ(recorded.outcomes[i].result.counts.pixelsChanged(), 6u);
        EXPECT_EQ(folder.read(name), Converted);
        EXPECT_EQ(folder.read(name.substr(0, name.size() - 3) + "bak"), Original);
    }
    // Nothing else is left in the folder: no copy, no held original, no NAME.tmp.
    EXPECT_EQ(folder.read("icon0.tmp"), (Bytes{7, 7}));
    EXPECT_EQ(folder.names().size(), 2 * files.size() + 2);
}

// Running the same batch again must not put converted pictures over the originals.
TEST(BatchRun, AFileWithNothingToChangeIsNotRewrittenAndKeepsItsBackup) {
    IconFolder folder;
    const auto files = folder.icons(2, 1);
    const Bytes olderBackup = OlderBackup;
    folder.write("icon1.bak", olderBackup);
    struct stat before {};
    ::stat(files[1].c_str(), &before);
    const auto recorded = record(BatchRun(blueToRed()), files);
    EXPECT_EQ(recorded.status(0), FileStatus::Converted);
    EXPECT_EQ(recorded.status(1), FileStatus::Unchanged);
    struct stat after {};
    ::stat(files[1].c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(folder.read("icon1.bak"), olderBackup);
    record(BatchRun(blueToRed()), files);
    EXPECT_EQ(folder.read("icon0.bak"), Original);
}

// A caller that vets each opened file (the window, which converts only what it can show) has
// a refused file left alone, and it, like a file that cannot be opened, is reported before any
// later file is converted: the caller may stop the run at its report.
TEST(BatchRun, AFileVettedOutOrUnreadableIsLeftAloneAndReportedBeforeLaterFilesAreConverted) {
    IconFolder folder;
    const auto files = folder.icons(5);
    std::filesystem::remove(files[3]);
    std::vector<std::size_t> vetted;
    std::vector<Bytes> nextFileAtReport; // at each failure's report, the file after it
    BatchCallbacks callbacks;
    callbacks.vet = [&](std::size_t index, const ByteSource& source) {
        EXPECT_EQ(source.path(), files[index]);
        vetted.push_back(index);
        if (index == 1) {
            throw Error(ErrorKind::NotAPicture, source.path());
        }
    };
    std::vector<FileOutcome> outcomes;
    callbacks.outcome = [&](const FileOutcome& outcome) {
        outcomes.push_back(outcome);
        if (outcome.status == FileStatus::Failed) {
            nextFileAtReport.push_back(folder.read(files[outcome.index + 1].filename().string()));
        }
    };
    ASSERT_TRUE(BatchRun(blueToRed()).run(files, callbacks));

    EXPECT_EQ(vetted, (std::vector<std::size_t>{0, 1, 2, 4}));
    ASSERT_EQ(outcomes.size(), 5u);
    const std::vector<FileStatus> statuses{FileStatus::Converted, FileStatus::Failed,
                                           FileStatus::Converted, FileStatus::Failed,
                                           FileStatus::Converted};
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        EXPECT_EQ(outcomes[i].status, statuses[i]) << i;
    }
    EXPECT_EQ(outcomes[1].failure->error.kind(), ErrorKind::NotAPicture);
    EXPECT_EQ(nextFileAtReport, (std::vector<Bytes>(2, Original)));
    EXPECT_EQ(folder.read("icon1.bmp"), Original);
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"icon0.bak", "icon0.bmp", "icon1.bmp", "icon2.bak",
                                        "icon2.bmp", "icon4.bak", "icon4.bmp"}));
}

// What restoring `picture` alone tells.
RestoreOutcome restored(const std::filesystem::path& picture) {
    std::optional<RestoreOutcome> told;
    BackupRestore().restore(
        {&picture, 1},
        {.outcome = [&](const auto&, const RestoreOutcome& outcome) { told = outcome; },
         .stopRequested = {},
         .recovered = {}});
    EXPECT_TRUE(told) << "nothing told of " << picture;
    return told.value_or(RestoreOutcome{});
}

// A flush of the file system fails the whole group on it. (A copy's own failed flush is a
// commit-safety case.)
struct FailingFlush : FileSystem {
    int syncFileSystem(int) override { return EIO; }
};

TEST(BatchRun, AFailedFlushReplacesNoneOfTheFilesItConcerns) {
    IconFolder folder;
    const auto files = folder.icons(3);
    const Bytes olderBackup = OlderBackup;
    folder.write("icon1.bak", olderBackup);
    FailingFlush failing;
    const auto recorded = record(BatchRun(blueToRed(), {}, failing), files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(recorded.status(i), FileStatus::Failed);
        EXPECT_EQ(recorded.outcomes[i].failure->error.systemError(), EIO);
        EXPECT_EQ(folder.read(files[i].filename()), Original);
    }
    EXPECT_EQ(folder.read("icon1.bak"), olderBackup);
    EXPECT_EQ(folder.names().size(), 4u);
}

// A folder named like the backup, two pictures with one backup name (dup.bmp and dup.BMP on
// a case-sensitive disk), or a picture given by the name of another's backup (a.bak): the
// picture whose backup cannot be kept is not converted, and what has the name stays as it was.
TEST(BatchRun, ABackupThatCannotBeKeptStopsThatFileOnly) {
    IconFolder folder;
    auto files = folder.icons(3);
    std::filesystem::create_directory(folder / "icon0.bak");
    folder.write("dup.bmp", Original);
    folder.write("dup.BMP", Original);
    folder.write("a.bmp", Original);
    const Bytes pictureNamedBak = makeBmp24(2, 1, {0, 0, 255});
    folder.write("a.bak", pictureNamedBak);
    const std::vector<std::filesystem::path> all{files[0],           files[1], folder / "dup.BMP",
                                                 folder / "dup.bmp", files[2], folder / "a.bmp",
                                                 folder / "a.bak"};
    const auto recorded = record(BatchRun(blueToRed()), all);
    ASSERT_EQ(recorded.status(5), FileStatus::Failed);
    EXPECT_EQ(recorded.outcomes[5].failure->kind, FileFailure::Kind::BackupNameShared);
    EXPECT_EQ(folder.read("a.bmp"), Original);
    EXPECT_EQ(folder.read("a.bak"), pictureNamedBak);
    EXPECT_EQ(recorded.status(0), FileStatus::Failed);
    EXPECT_EQ(recorded.outcomes[0].failure->kind, FileFailure::Kind::BackupBlocked);
    EXPECT_EQ(folder.read("icon0.bmp"), Original);
    EXPECT_EQ(recorded.status(1), FileStatus::Converted);
    EXPECT_EQ(recorded.status(4), FileStatus::Converted);
    // Two pictures of one folder that share a backup name: neither takes it, in this run or
    // in a run given only one of them; without a backup each is converted.
    for (const auto& [picture, other] : {std::pair{"dup.BMP", "dup.bmp"}, {"dup.bmp", "dup.BMP"}}) {
        SCOPED_TRACE(picture);
        const auto alone = record(BatchRun(blueToRed()), {folder / picture});
        for (const auto& outcome :
             {recorded.outcomes[picture == std::string("dup.BMP") ? 2 : 3], alone.outcomes.at(0)}) {
            ASSERT_EQ(outcome.status, FileStatus::Failed);
            EXPECT_EQ(outcome.failure->kind, FileFailure::Kind::BackupNameShared);
            EXPECT_EQ(outcome.failure->otherPicture, folder / other);
        }
        EXPECT_EQ(folder.read(picture), Original);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "dup.bak"));
    EXPECT_EQ(record(BatchRun(blueToRed(false)), {folder / "dup.bmp"}).status(0),
              FileStatus::Converted);
}

// A folder the user may not write in: every conversion and every restore there fails, and
// nothing in it changes.
TEST(BatchRun, AReadOnlyFolderFailsEachFileAndChangesNothing) {
    IconFolder folder;
    const auto files = folder.icons(2);
    folder.write("icon1.bak", OlderBackup);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    runUnprivileged(folder.path(), [&] {
        const auto recorded = record(BatchRun(blueToRed()), files);
        for (std::size_t i = 0; i < files.size(); ++i) {
            EXPECT_EQ(recorded.status(i), FileStatus::Failed);
            EXPECT_EQ(recorded.outcomes[i].failure->error.systemError(), EACCES);
        }
        EXPECT_EQ(restored(files[1]).status, RestoreStatus::FolderNotWritable);
        EXPECT_EQ(folder.names().size(), 3u);
        EXPECT_EQ(folder.read("icon0.bmp"), Original);
        EXPECT_EQ(folder.read("icon1.bmp"), Original);
        EXPECT_EQ(folder.read("icon1.bak"), OlderBackup);
    });
}

// A read-only NAME.bak is one its owner meant to keep: that picture is not converted.
TEST(BatchRun, AReadOnlyBackupIsNeverReplaced) {
    IconFolder folder;
    const auto files = folder.icons(1);
    folder.write("icon0.bak", OlderBackup);
    std::filesystem::permissions(folder / "icon0.bak", std::filesystem::perms(0444));
    runUnprivileged(folder.path(), [&] {
        const auto recorded = record(BatchRun(blueToRed()), files);
        ASSERT_EQ(recorded.status(0), FileStatus::Failed);
        EXPECT_EQ(recorded.outcomes[0].failure->kind, FileFailure::Kind::BackupBlocked);
        EXPECT_EQ(folder.read("icon0.bak"), OlderBackup);
        EXPECT_EQ(folder.read("icon0.bmp"), Original);
    });
}

// A picture no one may write (a version control's checked-in file) stays as it is, whoever
// runs the program: neither converted, in a dry run or a real one, nor restored.
TEST(BatchRun, AReadOnlyPictureIsNeitherConvertedNorRestored) {
    IconFolder folder;
    const auto files = folder.icons(2);
    std::filesystem::permissions(files[0], std::filesystem::perms(0444));
    for (const bool dryRun : {true, false}) {
        const auto recorded = record(BatchRun(blueToRed(), {.dryRun = dryRun}), files);
        ASSERT_EQ(recorded.status(0), FileStatus::Failed);
        EXPECT_EQ(recorded.outcomes[0].failure->error.kind(), ErrorKind::ReadOnlyFile);
        EXPECT_EQ(recorded.status(1), FileStatus::Converted);
    }
    EXPECT_EQ(folder.read("icon0.bmp"), Original);
    EXPECT_FALSE(std::filesystem::exists(folder / "icon0.bak"));
    EXPECT_EQ(std::filesystem::status(files[0]).permissions(), std::filesystem::perms(0444));

    std::filesystem::permissions(files[1], std::filesystem::perms(0444));
    const RestoreOutcome restore = restored(files[1]);
    EXPECT_EQ(restore.status, RestoreStatus::Failed);
    ASSERT_TRUE(restore.error);
    EXPECT_EQ(restore.error->kind(), ErrorKind::ReadOnlyFile);
    EXPECT_EQ(folder.read("icon1.bmp"), Converted);
    EXPECT_EQ(folder.read("icon1.bak"), Original);
}

// Gives the file `name` the own name a run gives a file of `role` belonging to `belongsTo`,
// as a killed run would have left it, and answers that name.
std::string leaveAsOwn(const TestFolder& folder, const std::string& name,
                       const std::string& belongsTo, OwnRole role, ino_t other = 0) {
    struct stat status {};
    ::stat((folder / name).c_str(), &status);
    const auto own = ownName(belongsTo, role, status.st_ino, other);
    std::filesystem::rename(folder / name, folder / own);
    return own;
}

// A killed run leaves copies and at most one held original per picture. The next run, a dry
// run first, tells what it finds; then it removes the copies nobody holds, the original held
// for a picture it had not replaced yet, and puts the original of a converted one in place.
// What only looks like a leftover, a user's dated NAME.bak.XXXXXX included, stays as it is.
TEST(BatchRun, WhatAKilledRunLeftIsFinishedByTheNext) {
    IconFolder folder;
    const auto files = folder.icons(4);
    folder.write("c", {1});
    leaveAsOwn(folder, "c", "icon0.bmp", OwnRole::Copy);
    folder.write("w", {4}); // another run's copy, still being written
    const auto running = leaveAsOwn(folder, "w", "icon0.bmp", OwnRole::Copy);
    const UniqueFd runningFile(::open((folder / running).c_str(), O_RDONLY));
    ::flock(runningFile.get(), LOCK_EX);
    folder.write("l", {3}); // looks like a copy, but names another file than it says
    const auto lookalike = leaveAsOwn(folder, "l", "icon0.bmp", OwnRole::Copy);
    folder.write("l", {3});
    std::filesystem::rename(folder / "l", folder / lookalike);
    folder.write("k", {3}); // looks like icon0's held original, but names another file
    const auto heldLookalike = leaveAsOwn(folder, "k", "icon0.bak", OwnRole::Held);
    folder.write("k", makeBmp24(3, 2, {5, 5, 5}));
    std::filesystem::rename(folder / "k", folder / heldLookalike);
    std::filesystem::create_hard_link(files[1], folder / "h1"); // not replaced yet
    leaveAsOwn(folder, "h1", "icon1.bak", OwnRole::Held);
    folder.write("icon2.bmp", Converted); // replaced; its original only held
    folder.write("h2", Original);
    leaveAsOwn(folder, "h2", "icon2.bak", OwnRole::Held);
    folder.write("icon3.bmp", Converted);
    folder.write("h3", Original); // its NAME.bak is a user's file
    const auto heldBesideText = leaveAsOwn(folder, "h3", "icon3.bak", OwnRole::Held);
    folder.write("icon3.bak", {'t', 'x', 't'});
    folder.write("o", Original); // no picture of that name: not ours to finish
    const auto orphan = leaveAsOwn(folder, "o", "orphan.bak", OwnRole::Held);
    folder.write("icon0.bak.202401", Original); // the user's dated copies
    folder.write("icon2.bak.Ab12Cd", makeBmp24(3, 2, {1, 2, 3}));

    const auto before = folder.names();
    auto found = record(BatchRun(blueToRed(false), {.dryRun = true}), files).recoveries;
    EXPECT_EQ(folder.names(), before);
    ASSERT_EQ(found.size(), 3u);
    std::ranges::sort(found, {}, &Recovery::backup);
    EXPECT_EQ(found[0].action, Recovery::Action::Removed);
    EXPECT_EQ(found[0].backup, folder / "icon1.bak");
    EXPECT_EQ(found[1].action, Recovery::Action::MadeBackup);
    EXPECT_EQ(found[1].backup, folder / "icon2.bak");
    EXPECT_EQ(found[2].action, Recovery::Action::Kept);
    EXPECT_EQ(found[2].reason->kind(), ErrorKind::NotABackup);

    record(BatchRun(blueToRed()), files);
    std::vector<std::string> left{running,       lookalike,   heldBesideText, orphan,
                                  heldLookalike, "icon0.bak", "icon0.bmp",    "icon0.bak.202401",
                                  "icon1.bak",   "icon1.bmp", "icon2.bak",    "icon2.bak.Ab12Cd",
                                  "icon2.bmp",   "icon3.bak", "icon3.bmp"};
    std::ranges::sort(left);
    EXPECT_EQ(folder.names(), left);
    EXPECT_EQ(folder.read("icon0.bak.202401"), Original);
    EXPECT_EQ(folder.read("icon1.bak"), Original);
    EXPECT_EQ(folder.read("icon2.bak"), Original);
    EXPECT_EQ(folder.read("icon2.bmp"), Converted);
    EXPECT_EQ(folder.read("icon3.bak"), (Bytes{'t', 'x', 't'}));
    EXPECT_EQ(folder.read(lookalike), (Bytes{3}));
    EXPECT_EQ(folder.read(heldLookalike), makeBmp24(3, 2, {5, 5, 5}));
}

// In a shared sticky folder, what another user's killed run left is theirs: a run tells it
// once, in one line for the folder, and touches none of it.
TEST(BatchRun, AnotherUsersLeftoversAreToldOnceAndLeftAlone) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can leave files of two users";
    }
    const UnprivilegedUser nobody = UnprivilegedUser::nobody();
    IconFolder folder;
    std::filesystem::permissions(folder.path(), std::filesystem::perms(01777));
    const auto files = folder.icons(2);
    for (const auto& file : files) {
        ASSERT_EQ(::chown(file.c_str(), nobody.uid, nobody.gid), 0);
    }
    folder.write("h0", Original);
    folder.write("h1", Original);
    folder.write("c0", {1});
    leaveAsOwn(folder, "h0", "icon0.bak", OwnRole::Held);
    leaveAsOwn(folder, "h1", "icon1.bak", OwnRole::Held);
    leaveAsOwn(folder, "c0", "icon0.bmp", OwnRole::Copy);
    const auto before = folder.names();

    runUnprivileged({}, [&] { // the folder stays root's, the pictures nobody's
        const auto found = record(BatchRun(blueToRed()), files).recoveries;
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].action, Recovery::Action::LeftForOwner);
        EXPECT_EQ(found[0].count, 3u);
        EXPECT_EQ(found[0].held, folder.path());
    });
    for (const auto& name : before) {
        if (!name.starts_with("icon")) {
            EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
        }
    }
}

} // namespace

} // namespace pixtint
