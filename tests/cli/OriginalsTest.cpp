// SPDX-License-Identifier: MIT
#include "filesafety/OwnNames.h"
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes Original = makeBmp24(16, 16, {255, 0, 255});
const Bytes Converted = makeBmp24(16, 16, {12, 200, 40});
const std::vector<std::string> MagentaToGreen{"-f", "ff00ff", "-t", "0cc828"};

} // namespace

// Two runs started together on one folder end as one after the other would: each picture is
// converted once, and each backup holds its original, never a converted picture.
TEST(Originals, TwoRunsAtOnceOnOneFolderConvertEachPictureOnce) {
    constexpr int Count = 1000;
    TestFolder folder;
    for (int i = 0; i < Count; ++i) {
        folder.write("icon" + std::to_string(i) + ".bmp", Original);
    }
    ConvertProgram first(with(MagentaToGreen, {folder.path().string()}));
    ConvertProgram second(with(MagentaToGreen, {folder.path().string()}));
    int converted = 0;
    for (auto* run : {&first, &second}) {
        const auto result = run->wait();
        EXPECT_EQ(result.exitStatus, 0) << result.out;
        for (const auto& line : linesOf(result.out)) {
            converted += line.starts_with("converted ") ? 1 : 0;
        }
    }
    EXPECT_EQ(converted, Count);
    for (int i = 0; i < Count; ++i) {
        const std::string stem = "icon" + std::to_string(i);
        ASSERT_EQ(folder.read(stem + ".bmp"), Converted) << stem;
        ASSERT_EQ(folder.read(stem + ".bak"), Original) << stem;
    }
    EXPECT_EQ(folder.names().size(), 2u * Count);
}

// Leaves `bytes` as the original a killed run held for `backup`, under its held name.
std::string leaveHeld(const TestFolder& folder, const std::string& backup, const Bytes& bytes) {
    folder.write("held", bytes);
    struct stat status {};
    ::stat((folder / "held").c_str(), &status);
    const auto held = ownName(backup, OwnRole::Held, status.st_ino);
    std::filesystem::rename(folder / "held", folder / held);
    return held;
}

// A dry run's report in the words of the real run's.
std::string asDone(std::string report) {
    for (const auto& [would, did] :
         {std::pair<std::string, std::string>{"would recover", "recovered    "},
          {"would restore", "restored     "},
          {"to recover", "recovered"},
          {"to restore", "restored"},
          {" (dry run: nothing written)", ""}}) {
        for (auto at = report.find(would); at != std::string::npos; at = report.find(would)) {
            report.replace(at, would.size(), did);
        }
    }
    return report;
}

// A killed run's original, held under its held name, is told by a dry run and put in place
// by the next run; --restore then gives it back, as its dry run said it would.
TEST(Originals, AnOriginalAKilledRunHeldIsToldAndRestored) {
    TestFolder folder;
    folder.write("a.bmp", Converted);
    const auto held = leaveHeld(folder, "a.bak", Original);
    const auto dir = folder.path().string();
    const auto dry = runConvert(with(MagentaToGreen, {"-n", dir}));
    EXPECT_EQ(dry.exitStatus, 0);
    EXPECT_EQ(linesOf(dry.out).at(0), "would recover  " + dir +
                                          "/a.bak  (the original an interrupted run held as " +
                                          dir + "/" + held + ")");

    const auto dryRestore = runConvert({"--restore", "-n", dir});
    const auto restore = runConvert({"--restore", dir});
    EXPECT_EQ(restore.exitStatus, 0);
    EXPECT_EQ(linesOf(restore.out).at(0).substr(0, 15), "recovered      ");
    EXPECT_EQ(linesOf(restore.out).at(1), "restored       " + dir + "/a.bmp");
    EXPECT_EQ(asDone(dryRestore.out), restore.out);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.bmp"});
    EXPECT_EQ(folder.read("a.bmp"), Original);
}

// A user's dated copy of a backup, NAME.bak and six characters, is the user's: no run tells
// it as a held original, even with the picture's bytes, and --restore gives back the real
// original. (That no run renames or removes it is the core's to prove.)
TEST(Originals, AUsersDatedCopyOfABackupIsNeverTakenForAHeldOriginal) {
    TestFolder folder;
    folder.write("logo.bmp", Original);
    const auto dir = folder.path().string();
    ASSERT_EQ(runConvert(with(MagentaToGreen, {dir})).exitStatus, 0);
    folder.write("logo.bak.202401", Converted);
    for (const auto& arguments : {std::vector<std::string>{"-n", dir}, {dir}}) {
        const auto again = runConvert(with(MagentaToGreen, arguments));
        EXPECT_EQ(again.out.find("recover"), std::string::npos) << again.out;
    }
    const auto restore = runConvert({"--restore", dir});
    EXPECT_EQ(restore.out, "restored       " + dir + "/logo.bmp\n1 restored\n");
    EXPECT_EQ(folder.read("logo.bmp"), Original);
}

// A NAME.bak that is not a backup is someone else's: it is neither overwritten by a
// conversion nor put over the picture by --restore.
TEST(Originals, OnlyABackupIsReplacedOrRestored) {
    TestFolder folder;
    const Bytes text{'m', 'y', ' ', 'n', 'o', 't', 'e', 's'};
    for (const char* stem : {"text", "link", "fifo"}) {
        folder.write(std::string(stem) + ".bmp", Original);
    }
    folder.write("text.bak", text);
    std::filesystem::create_symlink("text.bak", folder / "link.bak");
    ASSERT_EQ(::mkfifo((folder / "fifo.bak").c_str(), 0600), 0);
    const auto dir = folder.path().string();

    const auto run = runConvert(with(MagentaToGreen, {dir + "/text.bmp"}));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out,
              "failed         " + dir + "/text.bmp  (text.bak is not a backup)\n1 failed\n");
    EXPECT_EQ(folder.read("text.bak"), text);
    EXPECT_EQ(folder.read("text.bmp"), Original);

    const auto restore = runConvert({"--restore", dir});
    EXPECT_EQ(restore.exitStatus, 0);
    EXPECT_EQ(restore.out, "skipped        " + dir + "/fifo.bmp  (fifo.bak is not a backup)\n" +
                               "skipped        " + dir + "/link.bmp  (link.bak is not a backup)\n" +
                               "skipped        " + dir + "/text.bmp  (text.bak is not a backup)\n" +
                               "3 skipped\n");
    for (const char* stem : {"text", "link", "fifo"}) {
        EXPECT_EQ(folder.read(std::string(stem) + ".bmp"), Original) << stem;
    }
    EXPECT_EQ(folder.read("text.bak"), text);
}

} // namespace pixtint
