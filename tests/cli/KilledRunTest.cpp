// SPDX-License-Identifier: MIT
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

namespace pixtint {

using namespace std::chrono_literals;

// SIGTERM, like Ctrl-C, stops the run after the files in hand: every file converted is
// reported, and the summary says the run stopped. (What each file then holds, and a kill at
// every step of a commit, are the core's to prove.)
TEST(KilledRun, ASignalStopsAfterTheFilesInHandAndTheSummarySaysSo) {
    constexpr int Count = 2500; // the signal comes after the first of three groups
    TestFolder folder;
    const auto icon = makeBmp24(16, 16, {0, 0, 255});
    for (int i = 0; i < Count; ++i) {
        folder.write("icon" + std::to_string(i) + ".bmp", icon);
    }
    ConvertProgram program({"-f", "blue", "-t", "red", "-j", "1", folder.path().string()});
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (program.output().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms); // until it has reported its first file
    }
    ::kill(program.pid(), SIGTERM);
    const auto result = program.wait();
    ASSERT_EQ(result.exitStatus, 130) << "the run ended before the signal";

    const auto summaryStart = result.out.rfind('\n', result.out.size() - 2) + 1;
    const auto summary = result.out.substr(summaryStart);
    const auto reported = std::count(result.out.begin(), result.out.end(), '\n') - 1;
    EXPECT_EQ(summary, std::to_string(reported) + " converted (interrupted)\n");
    EXPECT_EQ(std::ssize(folder.names()), Count + reported) << "a backup for each one reported";
    EXPECT_LT(reported, Count);
}

} // namespace pixtint
