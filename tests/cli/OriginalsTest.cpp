// SPDX-License-Identifier: MIT
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

// A NAME.bak that is not a backup, a file, a link or a pipe, is someone else's: it is neither
// overwritten by a conversion nor put over the picture by --restore.
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
    EXPECT_EQ(run.out, report(dir, "failed         DIR/text.bmp  (text.bak is not a backup)\n"
                                   "1 failed\n"));
    const auto restore = runConvert({"--restore", dir});
    EXPECT_EQ(restore.exitStatus, 0);
    EXPECT_EQ(restore.out, report(dir, R"(skipped        DIR/fifo.bmp  (fifo.bak is not a backup)
skipped        DIR/link.bmp  (link.bak is not a backup)
skipped        DIR/text.bmp  (text.bak is not a backup)
3 skipped
)"));
    for (const char* stem : {"text", "link", "fifo"}) {
        EXPECT_EQ(folder.read(std::string(stem) + ".bmp"), Original) << stem;
    }
    EXPECT_EQ(folder.read("text.bak"), text);
}

} // namespace pixtint
