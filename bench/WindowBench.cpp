// SPDX-License-Identifier: MIT
// Times the main window on a real display: the refresh of a folder of 10,000 small pictures,
// and the preview of an 8000 x 6000 photograph (144 MB), with the peak memory the preview
// adds. The preview runs in a fresh process of its own, so that its peak is not an earlier
// one's. Run it under an X server (bench/run.sh uses xvfb-run), as a user's desktop would.
//
//   bench_window [scratch-folder [rounds]]

#include "bench/BenchFiles.h"
#include "bench/ChildProcess.h"
#include "bench/PeakMemory.h"
#include "bench/Photo.h"
#include "bench/ShownWindow.h"
#include "bench/SilentDialogs.h"
#include "bench/Spread.h"
#include "bench/WindowControls.h"
#include "mainwindow/FileListWidget.h"
#include "mainwindow/StartUp.h"
#include "platform/FilePaths.h"

#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace pixtint;

namespace {

using namespace BenchFiles;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr double PreviewGoalSeconds = 0.15;
constexpr double PreviewGoalMiB = 64;
constexpr const char* PreviewMode = "--preview";

std::unique_ptr<MainWindow> startOn(Dialogs& dialogs, const fs::path& pictures) {
    const auto programFolder = pictures.parent_path() / (pictures.filename().string() + "-program");
    writeSettings(programFolder, pictures);
    auto window = startMainWindow(dialogs, displayPath(programFolder));
    waitUntilShown(*window);
    return window;
}

// The seconds `action` and the painting it causes take.
template <typename Action> double timed(Action&& action) {
    const auto start = Clock::now();
    action();
    settle();
    return secondsSince(start);
}

void benchRefresh(Dialogs& dialogs, const fs::path& root, int rounds) {
    const auto pictures = root / "icons";
    fs::create_directories(pictures);
    const auto icon = makeBmp24(16, 16, {0x80, 0x80, 0x80});
    for (int i = 0; i < 10000; ++i) {
        writeFile(pictures / ("icon" + std::to_string(i) + ".bmp"), icon);
    }
    const auto window = startOn(dialogs, pictures);
    std::vector<double> seconds;
    for (int round = 0; round < rounds; ++round) {
        seconds.push_back(timed([&] { control<QPushButton>(*window, "Command3").click(); }));
    }
    const Spread spread = spreadOf(seconds);
    std::printf("refresh of %d pictures: best %.3f s, median %.3f s, worst %.3f s\n",
                control<FileListWidget>(*window, "ListView1").count(), spread.best, spread.median,
                spread.worst);
}

// In the fresh process: the window opens on the folder's small icon, then previews the
// photograph, the first time and again. Prints the seconds of each preview, then the peak
// memory before and after the first, in KiB.
int previewInThisProcess(const fs::path& pictures, int rounds) {
    SilentDialogs dialogs;
    const auto window = startOn(dialogs, pictures);
    auto& list = control<FileListWidget>(*window, "ListView1");
    const auto preview = [&](int row) {
        list.selectRow(row);
        window->previewSelectedFile();
    };
    const auto previewPhoto = [&] {
        preview(1);
    };
    const long peakBefore = peakResidentKiB();
    std::printf("%.4f", timed(previewPhoto));
    const long peakAfter = peakResidentKiB();
    for (int round = 1; round < rounds; ++round) {
        preview(0);
        settle();
        std::printf(" %.4f", timed(previewPhoto));
    }
    std::printf("\n%ld %ld\n", peakBefore, peakAfter);
    return 0;
}

void benchPreview(const fs::path& root, int rounds) {
    const auto pictures = root / "photo";
    fs::create_directories(pictures);
    writeFile(pictures / "a.bmp", makeBmp24(16, 16, {0x80, 0x80, 0x80}));
    writePhoto(pictures / "photo.bmp", {0x00, 0x00, 0xFF});
    std::istringstream output(outputOf(shellQuoted(benchProgram("bench_window")) + " " +
                                       PreviewMode + " " + shellQuoted(pictures) + " " +
                                       std::to_string(rounds)));
    std::string line;
    std::getline(output, line);
    std::istringstream times(line);
    std::vector<double> seconds;
    for (double value = 0; times >> value;) {
        seconds.push_back(value);
    }
    long peakBefore = 0;
    long peakAfter = 0;
    output >> peakBefore >> peakAfter;
    const Spread spread = spreadOf(seconds);
    const double extraMiB = static_cast<double>(peakAfter - peakBefore) / 1024;
    std::printf("preview of %d x %d: first %.3f s; best %.3f s, median %.3f s, worst %.3f s "
                "(goal <= %.2f s)\n",
                PhotoWidth, PhotoHeight, seconds.front(), spread.best, spread.median, spread.worst,
                PreviewGoalSeconds);
    std::printf("peak memory: %.1f MiB before the first preview, %.1f MiB after: %.1f MiB more "
                "(goal <= %.0f MiB)\n",
                static_cast<double>(peakBefore) / 1024, static_cast<double>(peakAfter) / 1024,
                extraMiB, PreviewGoalMiB);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], PreviewMode) == 0) {
        return previewInThisProcess(argv[2], std::max(1, std::atoi(argv[3])));
    }
    const fs::path root =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "pixtint-bench-window";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    fs::remove_all(root);
    SilentDialogs dialogs;
    benchRefresh(dialogs, root, rounds);
    benchPreview(root, rounds);
    fs::remove_all(root);
    return 0;
}
