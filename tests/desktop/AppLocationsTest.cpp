// SPDX-License-Identifier: MIT
#include "desktop/AppLocations.h"

#include "desktop/FilePaths.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) {
    return displayPath(path);
}

// A user's home with its configuration folder, as the desktop's first start finds it.
class FirstStartFolder : public ::testing::Test {
protected:
    void writeUserDirs(const std::string& picturesLine) {
        const std::string line = "XDG_PICTURES_DIR=\"" + picturesLine + "\"\n";
        fs::create_directories(root_ / "home/.config");
        root_.write("home/.config/user-dirs.dirs", {line.begin(), line.end()});
    }

    TestFolder root_;
    ScopedEnvironment home_{"HOME", (root_ / "home").string()};
    ScopedEnvironment configHome_{"XDG_CONFIG_HOME", std::nullopt};
    QString installed_ = AppLocations::installedProgramFolder();
};

// An installed program shows the pictures folder the desktop names, else ~/Pictures, else home;
// a portable copy shows its own folder.
TEST_F(FirstStartFolder, AnInstalledProgramShowsThePicturesFolderAPortableCopyItsOwn) {
    fs::create_directories(root_ / "home/Bilder");
    writeUserDirs("$HOME/Bilder/");
    EXPECT_EQ(AppLocations::firstStartFolder(installed_), text(root_ / "home/Bilder"))
        << "held without its trailing separator";
    writeUserDirs("$HOME/Missing");
    EXPECT_EQ(AppLocations::firstStartFolder(installed_), text(root_ / "home"));
    fs::remove(root_ / "home/.config/user-dirs.dirs");
    fs::create_directories(root_ / "home/Pictures");
    EXPECT_EQ(AppLocations::firstStartFolder(installed_), text(root_ / "home/Pictures"));

    fs::create_directories(root_ / "stick");
    EXPECT_EQ(AppLocations::firstStartFolder(text(root_ / "stick")), text(root_ / "stick"));
}

} // namespace

} // namespace pixtint
