#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

const Pixel Magenta{255, 0, 255}, Green{12, 200, 40}, Grey{128, 128, 128};
const std::vector<std::string> MagentaToGreen{"-f", "#ff00ff", "-t", "12,200,40"};

std::vector<std::string> with(std::vector<std::string> arguments,
                              const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

Bytes greyWithMagentaAt(std::initializer_list<std::pair<int, int>> pixels, Pixel colour = Magenta) {
    Bytes bytes = makeBmp24(8, 8, Grey);
    for (const auto& [x, y] : pixels) {
        setPixel(bytes, x, y, colour);
    }
    return bytes;
}

// The program run with standard output and error on one new terminal: what the terminal
// shows, or nothing where the machine has no pseudo-terminals.
std::optional<std::string> runOnTerminal(const std::vector<std::string>& arguments) {
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0) {
        return std::nullopt;
    }
    if (::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0) {
        ::close(terminal);
        return std::nullopt;
    }
    std::vector<std::string> argv{PIXTINT_CONVERT};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (auto& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, ::ptsname(terminal), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start pixtint-convert");
    }
    // The few lines fit in the terminal's buffer, where they wait until read.
    ::waitpid(pid, nullptr, 0);
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    std::string shown;
    char buffer[4096];
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;) {
        shown.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(terminal);
    return shown;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::vector<nlohmann::json> jsonLines(const std::string& text) {
    std::vector<nlohmann::json> objects;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(nlohmann::json::parse(line)); // throws on a line that is not JSON
    }
    return objects;
}

} // namespace

TEST(Program, ConvertsEachFileAsTheWindowWouldAndSaysSoLineByLine) {
    TestFolder folder;
    const Bytes icon = makeBmp24(16, 15, Magenta);
    const Bytes picture = greyWithMagentaAt({{0, 0}, {7, 7}, {3, 4}});
    const Bytes grey = makeBmp24(4, 4, Grey);
    Bytes unsigned24 = makeBmp24(2, 2, Magenta);
    unsigned24[0] = 'X';
    folder.write("a.bmp", icon);
    folder.write("b.BMP", picture);
    folder.write("same.bmp", grey);
    folder.write("eight.bmp", makeBmpWithBitCount(4, 4, 8));
    folder.write("fake.bmp", unsigned24);
    folder.write("notes.txt", {'h', 'i'});
    folder.write("named.dat", makeBmp24(2, 2, Magenta));

    const auto dir = folder.path().string();
    const auto run = runConvert(with(MagentaToGreen, {"-g", "top", dir, dir + "/named.dat"}));

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "converted      " + dir + "/a.bmp  (240 pixels, grown to 16 x 16)\n" +
                           "converted      " + dir + "/b.BMP  (3 pixels)\n" + "skipped        " +
                           dir + "/eight.bmp  (not a 24-bit picture)\n" + "skipped        " + dir +
                           "/fake.bmp  (not a 24-bit picture)\n" + "unchanged      " + dir +
                           "/same.bmp\n" + "converted      " + dir + "/named.dat  (4 pixels)\n" +
                           "3 converted, 1 unchanged, 2 skipped\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(folder.read("a.bmp"), makeBmp24(16, 16, Green));
    EXPECT_EQ(folder.read("a.bak"), icon);
    EXPECT_EQ(folder.read("b.BMP"), greyWithMagentaAt({{0, 0}, {7, 7}, {3, 4}}, Green));
    EXPECT_EQ(folder.read("b.bak"), picture);
    EXPECT_EQ(folder.read("named.dat"), makeBmp24(2, 2, Green));
    EXPECT_EQ(folder.read("same.bmp"), grey);
    EXPECT_EQ(folder.read("fake.bmp"), unsigned24);
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"a.bak", "a.bmp", "b.BMP", "b.bak", "eight.bmp", "fake.bmp",
                                        "named.bak", "named.dat", "notes.txt", "same.bmp"}));
}

TEST(Program, ADryRunWritesNothingAndRestoreUndoesARun) {
    TestFolder folder;
    const Bytes icon = makeBmp24(16, 15, Magenta);
    folder.write("a.bmp", icon);
    folder.write("b.bmp", makeBmp24(4, 4, Grey));
    const auto dir = folder.path().string();
    const auto names = folder.names();

    const auto dry = runConvert(with(MagentaToGreen, {"-n", "-g", "bottom", dir}));
    EXPECT_EQ(dry.exitStatus, 0);
    EXPECT_EQ(dry.out, "would convert  " + dir + "/a.bmp  (240 pixels, grown to 16 x 16)\n" +
                           "unchanged      " + dir + "/b.bmp\n" +
                           "1 to convert, 1 unchanged (dry run: nothing written)\n");
    EXPECT_EQ(folder.names(), names);
    EXPECT_EQ(folder.read("a.bmp"), icon);

    // Quiet: the summary only, and a failure on standard error, which fails the run.
    const auto quiet = runConvert(with(MagentaToGreen, {"-q", dir + "/gone.bmp", dir}));
    EXPECT_EQ(quiet.exitStatus, 1);
    EXPECT_EQ(quiet.out, "1 converted, 1 unchanged, 1 failed\n");
    EXPECT_EQ(quiet.err, "pixtint-convert: " + dir + "/gone.bmp: no such file or directory\n");
    EXPECT_NE(folder.read("a.bmp"), icon);
    EXPECT_EQ(runConvert({"--restore", "-n", dir}).out,
              "would restore  " + dir + "/a.bmp\n" + "skipped        " + dir +
                  "/b.bmp  (no backup)\n" + "1 to restore, 1 skipped (dry run: nothing written)\n");

    const auto restore = runConvert({"--restore", dir});
    EXPECT_EQ(restore.exitStatus, 0);
    EXPECT_EQ(restore.out.substr(0, restore.out.find('\n')), "restored       " + dir + "/a.bmp");
    EXPECT_EQ(folder.read("a.bmp"), icon);
    EXPECT_EQ(folder.names(), names);

    EXPECT_EQ(runConvert(with(MagentaToGreen, {"--no-backup", dir})).exitStatus, 0);
    EXPECT_EQ(folder.names(), names);
}

TEST(Program, JsonGivesOneObjectPerFileEvenForNamesThatAreNotUtf8) {
    TestFolder folder;
    Bytes icon = makeBmp24(16, 15, Magenta);
    setPixel(icon, 3, 2, Grey);
    folder.write("a.bmp", icon);
    folder.write("caf\xe9.bmp", makeBmp24(2, 2, Green));
    folder.write("eight.bmp", makeBmpWithBitCount(4, 4, 8));
    const auto dir = folder.path().string();

    // The pairs match the original colours only: grey becomes magenta, not green. The grown
    // row takes the first pair's new colour.
    const auto run = runConvert({"--json", "-m", "ff00ff=0cc828", "-m", "808080=ff00ff", "-g",
                                 "bottom", dir, dir + "/gone.bmp"});
    EXPECT_EQ(run.exitStatus, 1);
    const auto objects = jsonLines(run.out);
    ASSERT_EQ(objects.size(), 4u) << run.out;
    EXPECT_EQ(objects[0], (nlohmann::json{{"path", dir + "/gone.bmp"},
                                          {"status", "failed"},
                                          {"error", "no such file or directory"}}));
    EXPECT_EQ(
        objects[1],
        (nlohmann::json{
            {"path", dir + "/a.bmp"}, {"status", "converted"}, {"pixels", 240}, {"grown", true}}));
    EXPECT_EQ(objects[2],
              (nlohmann::json{
                  {"path", dir + "/caf\xEF\xBF\xBD.bmp"}, {"status", "unchanged"}, {"pixels", 0}}));
    EXPECT_EQ(objects[3], (nlohmann::json{{"path", dir + "/eight.bmp"}, {"status", "skipped"}}));
    EXPECT_EQ(run.err, "pixtint-convert: " + dir + "/gone.bmp: no such file or directory\n");
    Bytes expected = makeBmp24(16, 16, Green);
    setPixel(expected, 3, 2, Magenta);
    EXPECT_EQ(folder.read("a.bmp"), expected);
}

TEST(Program, AFailureReachesStandardErrorOnceWhereverTheLinesGo) {
    TestFolder folder;
    folder.write("a.bmp", makeBmp24(2, 2, Magenta));
    const auto dir = folder.path().string();
    const auto gone = dir + "/gone.bmp";

    const auto toFiles = runConvert(with(MagentaToGreen, {gone, dir}));
    EXPECT_EQ(toFiles.exitStatus, 1);
    EXPECT_EQ(toFiles.out.substr(0, toFiles.out.find('\n')),
              "failed         " + gone + "  (no such file or directory)");
    EXPECT_EQ(toFiles.err, "pixtint-convert: " + gone + ": no such file or directory\n");

    // On one terminal the line says it already; the summary still counts it.
    const auto shown = runOnTerminal(with(MagentaToGreen, {gone, dir}));
    if (!shown) {
        GTEST_SKIP() << "no pseudo-terminal on this machine";
    }
    EXPECT_EQ(occurrences(*shown, "no such file or directory"), 1u) << *shown;
    EXPECT_NE(shown->find("1 unchanged, 1 failed"), std::string::npos) << *shown;
}

TEST(Program, AUsageErrorSaysWhatWasWrongAndChangesNothing) {
    TestFolder folder;
    const Bytes icon = makeBmp24(2, 2, Magenta);
    folder.write("a.bmp", icon);
    for (const auto& arguments : {std::vector<std::string>{"-x", folder.path().string()},
                                  std::vector<std::string>{folder.path().string()}}) {
        const auto run = runConvert(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments[0];
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("pixtint-convert: ", 0), 0u) << run.err;
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.bmp"});
    EXPECT_EQ(folder.read("a.bmp"), icon);
}

} // namespace pixtint
