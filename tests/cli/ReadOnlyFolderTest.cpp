// SPDX-License-Identifier: MIT
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Unprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pixtint {

namespace fs = std::filesystem;

// A folder the user may not write in: the dry run foresees what the run then does, a failure
// for each file that would change, naming the folder and the reason; a file that would not
// change needs no writing and stays unchanged.
TEST(ReadOnlyFolder, TheDryRunPredictsTheFailureAndBothNameTheFolder) {
    TestFolder folder;
    fs::create_directory(folder / "ro");
    const auto icon = makeBmp24(16, 15, {255, 0, 255});
    const auto grey = makeBmp24(4, 4, {128, 128, 128});
    folder.write("ro/a.bmp", icon);
    folder.write("ro/b.bmp", grey);
    fs::permissions(folder / "ro", fs::perms::owner_write, fs::perm_options::remove);
    const std::vector<std::string> magentaToLime{"-f", "magenta", "-t", "lime", "ro/"};
    const std::string lines = "failed         ro/a.bmp  (no permission to write in folder ro)\n"
                              "unchanged      ro/b.bmp  (24-bit, Windows 3 header, uncompressed)\n";
    const std::string complaint =
        "pixtint-convert: ro/a.bmp: no permission to write in folder ro\n";

    // Relative paths, so that the lines name the folder as it was typed.
    runUnprivileged(folder.path(), [&] {
        const fs::path before = fs::current_path();
        fs::current_path(folder.path());
        const auto dry = runConvert(with({"-n"}, magentaToLime));
        EXPECT_EQ(dry.exitStatus, 1) << dry.err;
        EXPECT_EQ(dry.out, lines + "1 unchanged, 1 failed (dry run: nothing written)\n");
        EXPECT_EQ(dry.err, complaint);

        const auto run = runConvert(magentaToLime);
        EXPECT_EQ(run.exitStatus, 1) << run.err;
        EXPECT_EQ(run.out, lines + "1 unchanged, 1 failed\n");
        EXPECT_EQ(run.err, complaint);
        EXPECT_EQ(folder.read("ro/a.bmp"), icon);
        EXPECT_EQ(folder.read("ro/b.bmp"), grey);
        fs::current_path(before);
    });
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "ro"), fs::directory_iterator()), 2);
    fs::permissions(folder / "ro", fs::perms::owner_write, fs::perm_options::add);
}

// Putting a backup back renames it in its folder: where that is refused, the dry run and the
// restore both say that the folder is what cannot be written, and leave both files alone.
TEST(ReadOnlyFolder, ARestoreNamesTheFolderItCannotWriteIn) {
    TestFolder folder;
    fs::create_directory(folder / "ro");
    const auto converted = makeBmp24(16, 15, {0, 255, 0});
    const auto original = makeBmp24(16, 15, {255, 0, 255});
    folder.write("ro/a.bmp", converted);
    folder.write("ro/a.bak", original);
    fs::permissions(folder / "ro", fs::perms::owner_write, fs::perm_options::remove);
    const std::string line = "failed         ro/a.bmp  (no permission to write in folder ro)\n";

    runUnprivileged(folder.path(), [&] {
        const fs::path before = fs::current_path();
        fs::current_path(folder.path());
        const auto dry = runConvert({"--restore", "-n", "ro/"});
        EXPECT_EQ(dry.exitStatus, 1) << dry.err;
        EXPECT_EQ(dry.out, line + "1 failed (dry run: nothing written)\n");
        const auto run = runConvert({"--restore", "ro/"});
        EXPECT_EQ(run.exitStatus, 1) << run.err;
        EXPECT_EQ(run.out, line + "1 failed\n");
        fs::current_path(before);
    });
    EXPECT_EQ(folder.read("ro/a.bmp"), converted);
    EXPECT_EQ(folder.read("ro/a.bak"), original);
    fs::permissions(folder / "ro", fs::perms::owner_write, fs::perm_options::add);
}

} // namespace pixtint
