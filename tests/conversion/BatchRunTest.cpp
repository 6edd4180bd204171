#include "conversion/BatchRun.h"

#include "engine/PosixFile.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

namespace {

constexpr Pixel Blue{0, 0, 255};
constexpr Pixel Red{255, 0, 0};
const ConversionRequest BlueToRed{{{Rgb{0, 0, 255}, Rgb{255, 0, 0}}}};

struct Recorded {
    std::vector<FileOutcome> outcomes;
    bool finished = false;

    FileStatus status(std::size_t index) const { return outcomes.at(index).status; }
};

Recorded runBatch(BatchRun& run, const std::vector<std::filesystem::path>& files,
                  std::function<bool()> stop = {}) {
    Recorded recorded;
    BatchCallbacks callbacks;
    callbacks.outcome = [&](const FileOutcome& outcome) {
        recorded.outcomes.push_back(outcome);
    };
    callbacks.stopRequested = std::move(stop);
    recorded.finished = run.run(files, callbacks);
    return recorded;
}

Recorded runBatch(const ConversionRequest& request, const std::vector<std::filesystem::path>& files,
                  BatchOptions options = {}) {
    BatchRun run(request, options);
    return runBatch(run, files);
}

ConversionRequest withBackup(ConversionRequest request) {
    request.keepBackup = true;
    return request;
}

// A folder of small pictures, some of them blue.
struct IconFolder : TestFolder {
    std::vector<std::filesystem::path> icons(int count, int firstRed = INT_MAX) const {
        std::vector<std::filesystem::path> paths;
        for (int i = 0; i < count; ++i) {
            const std::string name = "icon" + std::to_string(i) + ".bmp";
            write(name, makeBmp24(3, 2, i >= firstRed ? Red : Blue));
            paths.push_back(*this / name);
        }
        return paths;
    }
};

TEST(BatchRun, ConvertsInGroupsWithBackupsAndReportsInOrder) {
    IconFolder folder;
    const auto files = folder.icons(7);
    folder.write("notes.txt", {1, 2, 3});
    const Recorded recorded = runBatch(withBackup(BlueToRed), files, {.jobs = 3, .groupFiles = 3});
    ASSERT_TRUE(recorded.finished);
    ASSERT_EQ(recorded.outcomes.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto name = files[i].filename().string();
        EXPECT_EQ(recorded.outcomes[i].index, i);
        EXPECT_EQ(recorded.status(i), FileStatus::Converted);
        EXPECT_EQ(recorded.outcomes[i].result.pixelsChanged, 6u);
        EXPECT_EQ(folder.read(name), makeBmp24(3, 2, Red));
        EXPECT_EQ(folder.read(name.substr(0, name.size() - 3) + "bak"), makeBmp24(3, 2, Blue));
    }
    // Nothing else is left in the folder: no copy, no held original, no NAME.tmp.
    EXPECT_EQ(folder.names().size(), 2 * files.size() + 1);
}

// Running the same batch again must not put converted pictures over the originals.
TEST(BatchRun, AFileWithNothingToChangeIsNotRewrittenAndKeepsItsBackup) {
    IconFolder folder;
    const auto files = folder.icons(2, 1);
    folder.write("icon1.bak", {42});
    struct stat before {};
    ::stat(files[1].c_str(), &before);
    const Recorded recorded = runBatch(withBackup(BlueToRed), files);
    EXPECT_EQ(recorded.status(0), FileStatus::Converted);
    EXPECT_EQ(recorded.status(1), FileStatus::Unchanged);
    struct stat after {};
    ::stat(files[1].c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(folder.read("icon1.bak"), Bytes{42});
    runBatch(withBackup(BlueToRed), files);
    EXPECT_EQ(folder.read("icon0.bak"), makeBmp24(3, 2, Blue));
}

// A user's own icon.tmp beside icon.bmp is never touched, and nothing of that name is made.
TEST(BatchRun, LeavesAUsersTmpFileAlone) {
    IconFolder folder;
    const auto files = folder.icons(1);
    folder.write("icon0.tmp", {7, 7});
    runBatch(BlueToRed, files);
    EXPECT_EQ(folder.read("icon0.tmp"), (Bytes{7, 7}));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"icon0.bmp", "icon0.tmp"}));
}

struct FailingFlush : FileSystem {
    int syncFileSystem(int) override { return EIO; }
};

TEST(BatchRun, AGroupWhoseFlushFailsReplacesNoneOfItsFiles) {
    IconFolder folder;
    const auto files = folder.icons(3);
    folder.write("icon1.bak", {42});
    FailingFlush failing;
    BatchRun run(withBackup(BlueToRed), {}, failing);
    const Recorded recorded = runBatch(run, files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(recorded.status(i), FileStatus::Failed);
        EXPECT_EQ(recorded.outcomes[i].failure->error.systemError(), EIO);
        EXPECT_EQ(folder.read(files[i].filename()), makeBmp24(3, 2, Blue));
    }
    EXPECT_EQ(folder.read("icon1.bak"), Bytes{42});
    EXPECT_EQ(folder.names().size(), 4u);
}

TEST(BatchRun, AStopBetweenFilesEndsWithEveryFileOldOrNew) {
    IconFolder folder;
    const auto files = folder.icons(10);
    int asked = 0;
    BatchRun run(BlueToRed, {.groupFiles = 4});
    const Recorded recorded = runBatch(run, files, [&] { return ++asked == 6; });
    EXPECT_FALSE(recorded.finished);
    ASSERT_EQ(recorded.outcomes.size(), 6u); // the stop was asked before the seventh file
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Pixel expected = i < 6 ? Red : Blue;
        EXPECT_EQ(folder.read(files[i].filename()), makeBmp24(3, 2, expected)) << i;
    }
    EXPECT_EQ(folder.names().size(), files.size());
}

// A folder named like the backup, or two pictures with one backup name (dup.bmp and dup.BMP
// on a case-sensitive disk): the picture whose backup cannot be kept is not converted.
TEST(BatchRun, ABackupThatCannotBeKeptStopsThatFileOnly) {
    IconFolder folder;
    const auto files = folder.icons(2);
    std::filesystem::create_directory(folder / "icon0.bak");
    folder.write("dup.bmp", makeBmp24(3, 2, Blue));
    folder.write("dup.BMP", makeBmp24(3, 2, Blue));
    const std::vector<std::filesystem::path> all{files[0], files[1], folder / "dup.BMP",
                                                 folder / "dup.bmp"};
    const Recorded recorded = runBatch(withBackup(BlueToRed), all);
    EXPECT_EQ(recorded.status(0), FileStatus::Failed);
    EXPECT_EQ(recorded.outcomes[0].failure->kind, FileFailure::Kind::BackupBlocked);
    EXPECT_EQ(folder.read("icon0.bmp"), makeBmp24(3, 2, Blue));
    EXPECT_EQ(recorded.status(1), FileStatus::Converted);
    EXPECT_EQ(recorded.status(2), FileStatus::Converted);
    EXPECT_EQ(recorded.status(3), FileStatus::Failed);
    EXPECT_EQ(recorded.outcomes[3].failure->kind, FileFailure::Kind::BackupNameShared);
    EXPECT_EQ(recorded.outcomes[3].failure->otherPicture, folder / "dup.BMP");
    EXPECT_EQ(folder.read("dup.bmp"), makeBmp24(3, 2, Blue));
}

TEST(BatchRun, AReadOnlyFolderFailsEachFileAndChangesNothing) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    IconFolder folder;
    const auto files = folder.icons(2);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const Recorded recorded = runBatch(withBackup(BlueToRed), files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(recorded.status(i), FileStatus::Failed);
        EXPECT_EQ(recorded.outcomes[i].failure->error.systemError(), EACCES);
    }
    EXPECT_EQ(folder.names().size(), 2u);
}

// A killed run leaves its hidden copies and maybe a held original: the next run removes the
// copies, which never hold the only picture of anything, and keeps the held original.
TEST(BatchRun, CopiesOfAnInterruptedRunAreRemovedAndHeldOriginalsKept) {
    IconFolder folder;
    const auto files = folder.icons(1);
    folder.write(".icon0.bmp.pixtint-Ab12Cd", {1});
    folder.write("icon0.bak.Xy34Zw", {2});
    folder.write(".hidden.pixtint-notmine", {3});
    folder.write(".icon0.bmp.pixtint-Ef56Gh", {4}); // another run's copy, still being written
    const UniqueFd running(::open((folder / ".icon0.bmp.pixtint-Ef56Gh").c_str(), O_RDONLY));
    ::flock(running.get(), LOCK_EX);
    runBatch(BlueToRed, files, {.dryRun = true});
    EXPECT_EQ(folder.names().size(), 5u); // a dry run removes nothing either
    runBatch(BlueToRed, files);
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{".hidden.pixtint-notmine", ".icon0.bmp.pixtint-Ef56Gh",
                                        "icon0.bak.Xy34Zw", "icon0.bmp"}));
}

TEST(BatchRun, ADryRunReportsWhatWouldChangeAndWritesNothing) {
    IconFolder folder;
    const auto files = folder.icons(2, 1);
    folder.write("text.bmp", {'B', 'M', 0});
    auto all = files;
    all.push_back(folder / "text.bmp");
    all.push_back(folder / "gone.bmp");
    const Recorded recorded = runBatch(withBackup(BlueToRed), all, {.dryRun = true});
    EXPECT_EQ(recorded.status(0), FileStatus::Converted);
    EXPECT_EQ(recorded.outcomes[0].result.pixelsChanged, 6u);
    EXPECT_EQ(recorded.status(1), FileStatus::Unchanged);
    EXPECT_EQ(recorded.status(2), FileStatus::NotConvertible); // too short to be a picture
    EXPECT_EQ(recorded.outcomes[3].failure->error.systemError(), ENOENT);
    EXPECT_EQ(folder.read("icon0.bmp"), makeBmp24(3, 2, Blue));
    EXPECT_EQ(folder.names().size(), 3u);
}

} // namespace

} // namespace pixtint
