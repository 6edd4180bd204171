// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pixtint {

using BatchCrashTest = MainWindowFixture;

// Killed part-way, the batch leaves every picture whole, old or new, and none missing.
TEST_F(BatchCrashTest, AfterAKillPartWayEveryPictureIsWhole) {
    using namespace std::chrono_literals;
    constexpr int count = 300;
    constexpr int convertedBeforeKill = 20;
    const auto original = makeBmp24(64, 64, Blue);
    const auto converted = makeBmp24(64, 64, Red);
    for (int i = 0; i < count; ++i) {
        pictures.write("icon" + std::to_string(i) + ".bmp", original);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Only the child runs Qt: the parent stays single-threaded, as fork requires.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int argc = 1;
        char name[] = "batch";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        startBlueToRed();
        convertAndWait();
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    const auto backups = [this] {
        return std::ranges::count_if(pictures.names(), [](auto& n) { return n.ends_with(".bak"); });
    };
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (backups() < convertedBeforeKill && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the batch ended before it was killed";

    int convertedCount = 0;
    const std::vector<std::string> names = pictures.names();
    for (int i = 0; i < count; ++i) {
        const std::string stem = "icon" + std::to_string(i);
        const auto bytes = pictures.read(stem + ".bmp");
        EXPECT_TRUE(bytes == original || bytes == converted) << stem;
        if (std::filesystem::exists(pictures / (stem + ".bak"))) {
            EXPECT_EQ(pictures.read(stem + ".bak"), original) << stem;
        }
        // A converted picture's old bytes are in its backup or, when the kill came between
        // the two renames, still in the copy held for it.
        if (bytes == converted) {
            ++convertedCount;
            EXPECT_TRUE(std::ranges::any_of(names, [&](const std::string& name) {
                return name.starts_with(stem + ".bak") && pictures.read(name) == original;
            })) << stem;
        }
    }
    EXPECT_GE(convertedCount, convertedBeforeKill);
    EXPECT_LT(convertedCount, count);
}

} // namespace pixtint
