// SPDX-License-Identifier: MIT
#include "commit/Backup.h"
#include "filesafety/OwnNames.h"
#include "tests/commit/RecordedRun.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int KilledExit = 42;
constexpr int FinishedExit = 43;

enum class Fallback {
    None,
    NamedCopy, // no O_TMPFILE: copies are made under a name
    ByteCopy,  // no hard links either (FAT): held originals are copies of their bytes
};

// The file system a run goes through, its calls counted, the process ended just before or
// just after one of them, as a kill would end it there.
struct KillingFileSystem : FileSystem {
    Fallback fallback;
    int killAt; // 2 x call (before it) or 2 x call + 1 (after it); -1 for never
    int step = 0;

    KillingFileSystem(Fallback without, int killedAt)
        : fallback(without)
        , killAt(killedAt) {}

    void mayEnd() {
        if (step++ == killAt) {
            ::_exit(KilledExit);
        }
    }
    template <typename Call> int around(Call&& call) {
        mayEnd();
        const int result = call();
        mayEnd();
        return result;
    }

    int createUnnamed(const char* folder) override {
        if (fallback != Fallback::None) {
            return -EOPNOTSUPP;
        }
        return around([&] { return FileSystem::createUnnamed(folder); });
    }
    int linkFile(int descriptor, const char* name) override {
        if (fallback == Fallback::ByteCopy) {
            return EPERM;
        }
        return around([&] { return FileSystem::linkFile(descriptor, name); });
    }
    int renameInFolder(int folder, const char* from, const char* to, unsigned flags) override {
        return around([&] { return FileSystem::renameInFolder(folder, from, to, flags); });
    }
    int syncFileSystem(int descriptor) override {
        return around([&] { return FileSystem::syncFileSystem(descriptor); });
    }
    int syncData(int descriptor) override {
        return around([&] { return FileSystem::syncData(descriptor); });
    }
    int syncFolder(int folder) override {
        return around([&] { return FileSystem::syncFolder(folder); });
    }
    int closeFile(int descriptor) override {
        return around([&] { return FileSystem::closeFile(descriptor); });
    }
};

void convert(const std::filesystem::path& picture, FileSystem& fileSystem) {
    record(BatchRun(blueToRed(), {}, fileSystem), {picture});
}

// Converts `name` in a child killed at step `killAt`; answers whether the kill came.
bool killedRun(const TestFolder& folder, const std::string& name, Fallback fallback, int killAt) {
    const pid_t child = ::fork();
    if (child == 0) {
        KillingFileSystem killing(fallback, killAt);
        convert(folder / name, killing);
        ::_exit(FinishedExit);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) ||
        (WEXITSTATUS(status) != KilledExit && WEXITSTATUS(status) != FinishedExit)) {
        throw std::runtime_error("the run crashed");
    }
    return WEXITSTATUS(status) == KilledExit;
}

bool anyHolds(const TestFolder& folder, const Bytes& bytes) {
    const auto names = folder.names();
    return std::ranges::any_of(names,
                               [&](const std::string& name) { return folder.read(name) == bytes; });
}

// The folder's names but those of files that a kill caught being made: such a name proves
// nothing and is left alone.
std::vector<std::string> lastingNames(const TestFolder& folder) {
    auto names = folder.names();
    std::erase_if(names, [](const std::string& name) {
        return name.find(".pixtint-new-") != std::string::npos;
    });
    return names;
}

} // namespace

// A run killed at any step of its commit leaves the picture old or new and the original
// somewhere; the next run, on the same file system, finishes the commit and leaves nothing
// of the killed one. So it goes without unnamed files, without hard links, and with a name
// at the file system's limit, which every name of the run's own must shorten.
TEST(KilledCommit, EveryStepKilledIsFinishedByTheNextRun) {
    const std::string longest = std::string(251, 'L') + ".bmp";
    for (const auto& [fallback, name] :
         {std::pair{Fallback::None, std::string("a.bmp")},
          std::pair{Fallback::NamedCopy, std::string("a.bmp")},
          std::pair{Fallback::ByteCopy, std::string("a.bmp")}, std::pair{Fallback::None, longest},
          std::pair{Fallback::ByteCopy, longest}}) {
        const auto backup = backupPathFor(name).string();
        for (int killAt = 0;; ++killAt) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(fallback) << " " << name.size()
                                              << " killed at " << killAt);
            TestFolder folder;
            folder.write(name, Original);
            folder.write(backup, OlderBackup);
            const bool killed = killedRun(folder, name, fallback, killAt);
            const auto picture = folder.read(name);
            ASSERT_TRUE(picture == Original || picture == Converted);
            ASSERT_TRUE(anyHolds(folder, Original));

            KillingFileSystem finishing(fallback, -1);
            convert(folder / name, finishing);
            EXPECT_EQ(folder.read(name), Converted);
            EXPECT_EQ(folder.read(backup), Original);
            EXPECT_EQ(lastingNames(folder), (std::vector<std::string>{backup, name}));
            if (!killed) {
                EXPECT_GT(killAt, 8);
                break;
            }
        }
    }
}

} // namespace pixtint
