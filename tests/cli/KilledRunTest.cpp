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

namespace {

using namespace std::chrono_literals;

const auto Original = makeBmp24(16, 16, {0, 0, 255});

void writeIcons(const TestFolder& folder, int count) {
    for (int i = 0; i < count; ++i) {
        folder.write("icon" + std::to_string(i) + ".bmp", Original);
    }
}

// Runs the program on the folder and sends it `signal` once it has reported its first file.
ProgramResult signalledRun(const TestFolder& folder, const std::vector<std::string>& colours,
                           int signal) {
    ConvertProgram program(with(colours, {"-j", "1", folder.path().string()}));
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (program.output().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    ::kill(program.pid(), signal);
    return program.wait();
}

} // namespace

// Killed part-way through a few thousand icons, the program leaves every icon old or new; the
// next run finishes the job and clears what the killed one left. (Where each original is at
// each moment of a commit is the core's to prove, a kill at every step.)
TEST(KilledRun, EveryIconIsOldOrNewAndTheNextRunFinishes) {
    constexpr int Count = 2000;
    const auto converted = makeBmp24(16, 16, {255, 0, 0});
    TestFolder folder;
    writeIcons(folder, Count);
    const std::vector<std::string> colours{"-f", "0000ff", "-t", "ff0000"};
    ASSERT_EQ(signalledRun(folder, colours, SIGKILL).signal, SIGKILL)
        << "the run ended before it was killed";
    int convertedCount = 0;
    for (int i = 0; i < Count; ++i) {
        const auto bytes = folder.read("icon" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(bytes == Original || bytes == converted) << i;
        convertedCount += bytes == converted ? 1 : 0;
    }
    EXPECT_GT(convertedCount, 0);
    EXPECT_LT(convertedCount, Count);

    EXPECT_EQ(runConvert(with(colours, {folder.path().string()})).exitStatus, 0);
    for (int i = 0; i < Count; ++i) {
        ASSERT_EQ(folder.read("icon" + std::to_string(i) + ".bmp"), converted) << i;
        ASSERT_EQ(folder.read("icon" + std::to_string(i) + ".bak"), Original) << i;
    }
    EXPECT_EQ(folder.names().size(), 2u * Count);
}

// SIGTERM, like Ctrl-C, stops the run after the files in hand: each icon is converted with its
// backup or untouched, every converted one is reported, and the summary says the run stopped.
TEST(KilledRun, ASignalStopsAfterTheFilesInHandAndTheSummarySaysSo) {
    constexpr int Count = 2500; // the signal comes after the first of three groups
    TestFolder folder;
    writeIcons(folder, Count);
    const auto result = signalledRun(folder, {"-f", "blue", "-t", "red"}, SIGTERM);
    ASSERT_EQ(result.exitStatus, 130) << "the run ended before the signal";

    const auto summaryStart = result.out.rfind('\n', result.out.size() - 2) + 1;
    const auto summary = result.out.substr(summaryStart);
    const auto reported = std::count(result.out.begin(), result.out.end(), '\n') - 1;
    EXPECT_EQ(summary, std::to_string(reported) + " converted (interrupted)\n");
    int converted = 0;
    for (int i = 0; i < Count; ++i) {
        const std::string stem = "icon" + std::to_string(i);
        if (folder.read(stem + ".bmp") != Original) {
            ++converted;
            EXPECT_EQ(folder.read(stem + ".bak"), Original) << stem;
        }
    }
    EXPECT_EQ(converted, reported);
    EXPECT_LT(converted, Count);
}

} // namespace pixtint
