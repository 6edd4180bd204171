// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include "desktop/FilePaths.h"
#include "tests/support/TestFolder.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

CommandLine parse(const std::vector<std::string>& arguments) {
    return parseCommandLine(arguments);
}

// The exit status and the output of the real program started with `arguments`, with no
// display to open a window on (and `environment` before it, for the platform).
struct ProgramRun {
    int status = -1;
    std::string output;
};
ProgramRun runProgram(const std::string& arguments, const std::string& environment = "") {
    TestFolder folder;
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                environment + " ASAN_OPTIONS=detect_leaks=0 timeout 60 '" +
                                PIXTINT_EXECUTABLE + "' " + arguments + " > '" +
                                (folder / "out").string() + "' 2>&1 < /dev/null";
    const int result = std::system(command.c_str());
    const auto bytes = folder.read("out");
    return {WIFEXITED(result) ? WEXITSTATUS(result) : -1, std::string(bytes.begin(), bytes.end())};
}

// A folder is held absolute without its trailing separator; a file names its folder and is
// selected there, the way a desktop's "Open With" passes it, and Qt's options before it are not
// taken for it; the last language given wins.
TEST(CommandLine, ReadsAFolderOrAFileAndTheLanguage) {
    TestFolder root;
    fs::create_directories(root / "pictures");
    root.write("picture.bmp", {});
    const QString pictures = displayPath(root / "pictures");
    EXPECT_FALSE(parse({}).folder);
    EXPECT_FALSE(parse({}).language) << "the desktop's decides";
    EXPECT_EQ(parse({(root / "pictures/").string()}).folder, pictures);
    EXPECT_EQ(parse({"--", (root / "pictures/../pictures").string()}).folder, pictures);
    EXPECT_EQ(parse({"/"}).folder, QString()) << "the root is the empty text";
    const fs::path before = fs::current_path();
    fs::current_path(root.path());
    const QString relative = parse({"pictures"}).folder.value_or("");
    fs::current_path(before);
    EXPECT_EQ(relative, pictures);

    const CommandLine file = parse({"--platform", "offscreen", "-style=fusion", "--language", "ja",
                                    "--language=en", (root / "picture.bmp").string()});
    EXPECT_TRUE(file.problem.empty()) << file.problem;
    EXPECT_EQ(file.folder, displayPath(root.path()));
    EXPECT_EQ(file.file, "picture.bmp");
    EXPECT_EQ(file.language, UiLanguage::English);

    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{root.path().string(), root.path().string()}, "one folder at most"},
        {{(root / "missing").string()}, "not a folder or a file: " + (root / "missing").string()},
        {{"--language", "de"}, "--language takes ja or en, not 'de'"},
        {{"--language="}, "--language takes ja or en"},
    };
    for (const auto& [arguments, problem] : cases) {
        EXPECT_EQ(parse(arguments).problem, problem);
        EXPECT_FALSE(parse(arguments).folder) << problem;
    }
}

// Help and version on the terminal without a display; an unknown option ends with status 2
// whether a display is there or not, and no display (none set, or one where nothing answers)
// with one line and status 1.
TEST(Program, AnswersOnTheTerminalWithItsExitStatus) {
    const ProgramRun help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("Usage: pixtint [--language ja|en] [FOLDER|FILE]\n", 0), 0u)
        << help.output;
    const ProgramRun version = runProgram("-platform xcb --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "pixtint 1.2\n");

    const ProgramRun bogus = runProgram("-platform xcb --bogus");
    EXPECT_EQ(bogus.status, 2) << bogus.output;
    EXPECT_EQ(bogus.output, "pixtint: unknown option --bogus\nTry 'pixtint --help'.\n");

    for (const char* environment : {"", "DISPLAY=:97"}) {
        const auto run = runProgram("", environment);
        EXPECT_EQ(run.status, 1) << environment << run.output;
        EXPECT_TRUE(run.output.starts_with("pixtint: ")) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    }
}

} // namespace

} // namespace pixtint
