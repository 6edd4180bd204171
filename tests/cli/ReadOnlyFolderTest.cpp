// SPDX-License-Identifier: MIT
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

constexpr uid_t Nobody = 65534;

// The program run in `folder` by a user whom a folder's mode binds: nobody when the test runs
// as root, whom no mode stops, otherwise the test's own user. Between fork and exec the child
// makes only calls that are safe in a copy of a process with threads.
ProgramResult runUnprivileged(const fs::path& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), PIXTINT_CONVERT);
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const TestFolder streams;
    const int out = ::open((streams / "out").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const int err = ::open((streams / "err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const bool asNobody = ::geteuid() == 0;
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ready = ::dup2(out, 1) == 1 && ::dup2(err, 2) == 2 &&
                           ::chdir(folder.c_str()) == 0 &&
                           (!asNobody || (::setgroups(0, nullptr) == 0 &&
                                          ::setresgid(Nobody, Nobody, Nobody) == 0 &&
                                          ::setresuid(Nobody, Nobody, Nobody) == 0));
        if (ready) {
            ::execv(argv[0], argv.data());
        }
        ::_exit(127);
    }
    ::close(out);
    ::close(err);
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto text = [&](const char* name) {
        const auto bytes = streams.read(name);
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0, text("out"), text("err")};
}

} // namespace

// A folder the user may not write in: the dry run foresees what the run then does, a failure
// for each file that would change, naming the folder and the reason; a file that would not
// change needs no writing and stays unchanged.
TEST(ReadOnlyFolder, TheDryRunPredictsTheFailureAndBothNameTheFolder) {
    TestFolder folder;
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    fs::create_directory(folder / "ro");
    const auto icon = makeBmp24(16, 15, {255, 0, 255});
    const auto grey = makeBmp24(4, 4, {128, 128, 128});
    folder.write("ro/a.bmp", icon);
    folder.write("ro/b.bmp", grey);
    fs::permissions(folder / "ro", fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    const std::vector<std::string> magentaToLime{"-f", "magenta", "-t", "lime", "ro/"};
    const std::string lines = "failed         ro/a.bmp  (no permission to write in folder ro)\n"
                              "unchanged      ro/b.bmp  (24-bit, Windows 3 header, uncompressed)\n";
    const std::string complaint =
        "pixtint-convert: ro/a.bmp: no permission to write in folder ro\n";

    const auto dry = runUnprivileged(folder.path(), with({"-n"}, magentaToLime));
    EXPECT_EQ(dry.exitStatus, 1) << dry.err;
    EXPECT_EQ(dry.out, lines + "1 unchanged, 1 failed (dry run: nothing written)\n");
    EXPECT_EQ(dry.err, complaint);

    const auto run = runUnprivileged(folder.path(), magentaToLime);
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    EXPECT_EQ(run.out, lines + "1 unchanged, 1 failed\n");
    EXPECT_EQ(run.err, complaint);
    EXPECT_EQ(folder.read("ro/a.bmp"), icon);
    EXPECT_EQ(folder.read("ro/b.bmp"), grey);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "ro"), fs::directory_iterator()), 2);
    fs::permissions(folder / "ro", fs::perms::owner_write, fs::perm_options::add);
}

} // namespace pixtint
