// SPDX-License-Identifier: MIT
#include "cli/InputFiles.h"

#include "tests/support/TestFolder.h"
#include "tests/support/Unprivileged.h"

#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

// The paths collected, relative to the test folder.
std::vector<std::string> collected(const TestFolder& folder, std::vector<std::string> arguments,
                                   bool recursive, FolderReader readEntries = readFolder) {
    for (auto& argument : arguments) {
        argument = (folder / argument).string();
    }
    std::vector<std::string> paths;
    for (const auto& input : collectInputFiles(arguments, recursive, readEntries)) {
        EXPECT_FALSE(input.problem) << input.path;
        paths.push_back(input.path.lexically_relative(folder.path()).string());
    }
    return paths;
}

void makeTree(const TestFolder& folder) {
    fs::create_directories(folder / "icons/sub/deeper");
    fs::create_directories(folder / "elsewhere");
    for (const char* name : {"icons/b.bmp", "icons/A.BMP", "icons/notes.txt", "icons/sub/c.bmp",
                             "icons/sub/deeper/d.Bmp", "elsewhere/e.bmp", "picture.png"}) {
        folder.write(name, {'B', 'M'});
    }
    fs::create_directory_symlink(folder / "elsewhere", folder / "icons/link");
}

} // namespace

// A folder gives its BMP entries in name order, then its sub-folders without following links;
// a file reached twice is taken once.
TEST(InputFiles, AFolderGivesItsPicturesInOrderAndEachFileOnce) {
    TestFolder folder;
    makeTree(folder);
    EXPECT_EQ(collected(folder, {"icons", "picture.png"}, false),
              (std::vector<std::string>{"icons/A.BMP", "icons/b.bmp", "picture.png"}));
    // Also where the listing tells no entry's kind, as some file systems' do.
    const FolderReader noKinds = [](const std::string& at) {
        auto entries = readFolder(at);
        for (auto& entry : entries) {
            entry.kind = DT_UNKNOWN;
        }
        return entries;
    };
    for (const auto readEntries : {readFolder, noKinds}) {
        EXPECT_EQ(collected(folder, {"icons"}, true, readEntries),
                  (std::vector<std::string>{"icons/A.BMP", "icons/b.bmp", "icons/sub/c.bmp",
                                            "icons/sub/deeper/d.Bmp"}));
    }
    fs::create_symlink(folder / "icons/b.bmp", folder / "alias.bmp");
    EXPECT_EQ(collected(folder, {"icons/b.bmp", "icons", "alias.bmp", "icons/./A.BMP"}, false),
              (std::vector<std::string>{"icons/b.bmp", "icons/A.BMP"}));
}

TEST(InputFiles, AFolderThatCannotBeReadIsOneEntryWithItsProblem) {
    TestFolder folder;
    fs::create_directory(folder / "locked");
    fs::permissions(folder / "locked", fs::perms::none);
    runUnprivileged(folder.path(), [&] {
        const std::vector<std::string> arguments{(folder / "locked").string()};
        const auto inputs = collectInputFiles(arguments, false);
        ASSERT_EQ(inputs.size(), 1u);
        ASSERT_TRUE(inputs[0].problem);
        EXPECT_EQ(inputs[0].problem->systemError(), EACCES);
        EXPECT_EQ(inputs[0].problem->path(), folder / "locked");
    });
}

} // namespace pixtint
