// SPDX-License-Identifier: MIT
// Times the main window on a real display: the refresh of a folder of 10,000 small pictures;
// the preview of an 8000 x 6000 photograph, 24-bit (144 MB) and 8-bit (48 MB), with the peak
// memory the preview adds; and a new TO colour until the after image shows it, on the
// photograph and on a 16 x 15 icon. Each photograph's preview runs in a fresh process of its
// own, so that its peak is not an earlier one's. Run it under an X server (bench/run.sh uses
// xvfb-run), as a user's desktop would.
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
#include "desktop/FilePaths.h"
#include "mainwindow/FileListWidget.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartUp.h"

#include <QApplication>
#include <QColor>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <istream>
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
constexpr double IconColourGoalSeconds = 0.05;
constexpr double PhotoColourGoalSeconds = 0.2;
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

void printSeconds(const std::vector<double>& seconds) {
    for (const double value : seconds) {
        std::printf(" %.4f", value);
    }
    std::printf("\n");
}

// Seconds from a new TO colour, chosen in the colour dialog, to the after image painted
// with it, alternating between two colours.
std::vector<double> colourChanges(SilentDialogs& dialogs, const MainWindow& window, int rounds) {
    auto& button = control<QPushButton>(window, "Command5(1)");
    std::vector<double> seconds;
    for (int round = 0; round < rounds; ++round) {
        dialogs.colourAnswer = round % 2 == 0 ? QColor(0, 128, 0) : QColor(255, 0, 0);
        seconds.push_back(timed([&] { button.click(); }));
    }
    return seconds;
}

// In the fresh process: the window opens on the folder's small icon, then previews the
// photograph, the first time and again, then times colour changes on the photograph and on
// the icon. Prints the seconds of each preview, the peak memory before and after the first
// preview in KiB, then the seconds of the colour changes on the photograph, then on the icon.
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
    std::vector<double> previews{timed(previewPhoto)};
    const long peakAfter = peakResidentKiB();
    for (int round = 1; round < rounds; ++round) {
        preview(0);
        settle();
        previews.push_back(timed(previewPhoto));
    }
    printSeconds(previews);
    std::printf("%ld %ld\n", peakBefore, peakAfter);
    printSeconds(colourChanges(dialogs, *window, rounds));
    preview(0);
    settle();
    printSeconds(colourChanges(dialogs, *window, rounds));
    return 0;
}

std::vector<double> secondsOnLine(std::istream& input) {
    std::string line;
    std::getline(input, line);
    std::istringstream values(line);
    std::vector<double> seconds;
    for (double value = 0; values >> value;) {
        seconds.push_back(value);
    }
    return seconds;
}

void printColourChanges(const char* what, const std::vector<double>& seconds, double goal) {
    const Spread spread = spreadOf(seconds);
    std::printf("colour change on %s: best %.3f s, median %.3f s, worst %.3f s (goal <= %.2f s)\n",
                what, spread.best, spread.median, spread.worst, goal);
}

using PhotoWriter = void (*)(const fs::path& path);

void benchPreview(const fs::path& root, int rounds, const char* kind, PhotoWriter writePicture) {
    const auto pictures = root / (std::string("photo-") + kind);
    fs::create_directories(pictures);
    writeFile(pictures / "a.bmp", makeBmp24(16, 15, {0x00, 0x00, 0xFF}));
    writePicture(pictures / "photo.bmp");
    std::istringstream output(outputOf(shellQuoted(benchProgram("bench_window")) + " " +
                                       PreviewMode + " " + shellQuoted(pictures) + " " +
                                       std::to_string(rounds)));
    const std::vector<double> seconds = secondsOnLine(output);
    long peakBefore = 0;
    long peakAfter = 0;
    output >> peakBefore >> peakAfter >> std::ws;
    const std::vector<double> photoColours = secondsOnLine(output);
    const std::vector<double> iconColours = secondsOnLine(output);
    if (seconds.empty() || photoColours.empty() || iconColours.empty()) {
        std::fprintf(stderr, "the %s preview process printed no figures\n", kind);
        std::exit(1);
    }
    const Spread spread = spreadOf(seconds);
    const double extraMiB = static_cast<double>(peakAfter - peakBefore) / 1024;
    std::printf("preview of a %s %d x %d picture: first %.3f s; best %.3f s, median %.3f s, "
                "worst %.3f s (goal <= %.2f s)\n",
                kind, PhotoWidth, PhotoHeight, seconds.front(), spread.best, spread.median,
                spread.worst, PreviewGoalSeconds);
    std::printf("peak memory: %.1f MiB before the first preview, %.1f MiB after: %.1f MiB more "
                "(goal <= %.0f MiB)\n",
                static_cast<double>(peakBefore) / 1024, static_cast<double>(peakAfter) / 1024,
                extraMiB, PreviewGoalMiB);
    printColourChanges((std::string("the ") + kind + " picture").c_str(), photoColours,
                       PhotoColourGoalSeconds);
    printColourChanges("a 16 x 15 icon", iconColours, IconColourGoalSeconds);
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
    benchPreview(root, rounds, "24-bit", [](const fs::path& path) {
        writePhoto(path, {0x00, 0x00, 0xFF});
    });
    benchPreview(root, rounds, "8-bit", [](const fs::path& path) {
        writePalettePhoto(path, {0x00, 0x00, 0xFF});
    });
    fs::remove_all(root);
    return 0;
}
