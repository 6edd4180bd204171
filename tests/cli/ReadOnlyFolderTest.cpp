// SPDX-License-Identifier: MIT
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Unprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pixtint {

namespace fs = std::filesystem;

// A folder the user may not write in: a conversion and a restore each fail for every file that
// would change, naming the folder and the reason, and each dry run foresees it; a file that
// would not change needs no writing. (That nothing there changes is the core's to prove.)
TEST(ReadOnlyFolder, EveryRunNamesTheFolderAndTheDryRunForeseesIt) {
    TestFolder folder;
    fs::create_directory(folder / "ro");
    folder.write("ro/a.bmp", makeBmp24(16, 15, {255, 0, 255}));
    folder.write("ro/b.bmp", makeBmp24(4, 4, {128, 128, 128}));
    folder.write("ro/b.bak", makeBmp24(4, 4, {255, 0, 255}));
    fs::permissions(folder / "ro", fs::perms::owner_write, fs::perm_options::remove);
    const std::vector<std::string> magentaToLime{"-f", "magenta", "-t", "lime", "ro/"};
    const std::string failed = "failed         ro/a.bmp  (no permission to write in folder ro)\n";
    const std::string unchanged = report("", "unchanged      ro/b.bmp  (PLAIN)\n");
    const std::string restoreFailed =
        "failed         ro/b.bmp  (no permission to write in folder ro)\n";

    // Relative paths, so that the lines name the folder as it was typed.
    runUnprivileged(folder.path(), [&] {
        fs::current_path(folder.path());
        const auto dry = runConvert(with({"-n"}, magentaToLime));
        EXPECT_EQ(dry.exitStatus, 1) << dry.err;
        EXPECT_EQ(dry.out,
                  failed + unchanged + "1 unchanged, 1 failed (dry run: nothing written)\n");
        EXPECT_EQ(dry.err, "pixtint-convert: ro/a.bmp: no permission to write in folder ro\n");
        const auto run = runConvert(magentaToLime);
        EXPECT_EQ(run.exitStatus, 1) << run.err;
        EXPECT_EQ(run.out, failed + unchanged + "1 unchanged, 1 failed\n");
        EXPECT_EQ(run.err, dry.err);

        const auto dryRestore = runConvert({"--restore", "-n", "ro/b.bmp"});
        EXPECT_EQ(dryRestore.out, restoreFailed + "1 failed (dry run: nothing written)\n");
        const auto restore = runConvert({"--restore", "ro/b.bmp"});
        EXPECT_EQ(restore.exitStatus, 1) << restore.err;
        EXPECT_EQ(restore.out, restoreFailed + "1 failed\n");
    });
    fs::permissions(folder / "ro", fs::perms::owner_write, fs::perm_options::add);
}

} // namespace pixtint
