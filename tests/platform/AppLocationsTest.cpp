#include "platform/AppLocations.h"

#include "platform/FilePaths.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) {
    return displayPath(path);
}

void makeReadOnly(const fs::path& folder) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
}

// Holds for the superuser too, who could write into the read-only folder all the same.
TEST(SettingsLocation, BesideAWritableProgramElseInTheConfigFolder) {
    TestFolder root;
    fs::create_directories(root / "program");
    fs::create_directories(root / "home");
    const QString program = text(root / "program");
    ScopedEnvironment configHome("XDG_CONFIG_HOME", (root / "config").string());

    EXPECT_TRUE(AppLocations::isPortableFolder(program));
    EXPECT_EQ(AppLocations::settingsFile(program), program + "/Pixtint.ini");

    makeReadOnly(root / "program");
    EXPECT_FALSE(AppLocations::isPortableFolder(program));
    EXPECT_EQ(AppLocations::settingsFile(program), text(root / "config/Pixtint/Pixtint.ini"));

    ScopedEnvironment noConfigHome("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnvironment home("HOME", (root / "home").string());
    EXPECT_EQ(AppLocations::settingsFile(program), text(root / "home/.config/Pixtint/Pixtint.ini"));
}

TEST(SettingsLocation, NeverBesideAnInstalledOrMissingProgram) {
    TestFolder root;
    root.write("file", {});
    EXPECT_FALSE(AppLocations::isPortableFolder(AppLocations::installedProgramFolder()));
    EXPECT_FALSE(AppLocations::isPortableFolder(text(root / "missing")));
    EXPECT_FALSE(AppLocations::isPortableFolder(text(root / "file")));
}

TEST(SettingsLocation, ItsFolderIsMadeWhenMissing) {
    TestFolder root;
    AppLocations::createFolderFor(text(root / "config/Pixtint/Pixtint.ini"));
    EXPECT_TRUE(fs::is_directory(root / "config/Pixtint"));
    EXPECT_FALSE(fs::exists(root / "config/Pixtint/Pixtint.ini"));
}

// The layout of an install: bin/pixtint and share/doc/pixtint/Readme.txt.
TEST(ReadmeLocation, BesideTheProgramFirstThenTheInstalledGuide) {
    TestFolder root;
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share/doc/pixtint");
    const QString program = text(root / "bin");
    const QString beside = program + "/Readme.txt";

    EXPECT_EQ(AppLocations::readmeFile(program), beside) << "neither: the viewer is asked anyway";
    root.write("share/doc/pixtint/Readme.txt", {'i'});
    EXPECT_EQ(AppLocations::readmeFile(program), text(root / "share/doc/pixtint/Readme.txt"));
    root.write("bin/Readme.txt", {'b'});
    EXPECT_EQ(AppLocations::readmeFile(program), beside);
}

} // namespace

} // namespace pixtint
