// SPDX-License-Identifier: MIT
// Times the window's batch on a real display, from the click on 変換実行 to the closing
// message 変換終了！, with backups on, blue made red. In the same rounds, on identical fresh
// folders, the same files go through the conversion core alone (what the window adds is the
// difference) and through two references:
//   - the durable floor (bench_durable_floor, see DurableFloor.cpp);
//   - ImageMagick: `mogrify -fill '#FF0000' -opaque '#0000FF' -type truecolor
//     -define bmp:format=bmp3 *.bmp` for the icons, and `convert photo.bmp ... photo.bmp`
//     for the photograph, so that it too writes 24-bit BMPs with the 54-byte header. Its
//     pixels are checked against the window's.
// Two workloads: 1,000 16 x 16 icons, and one 8000 x 6000 photograph (144 MB).
//
//   bench_batch [scratch-folder [icon-rounds [photo-rounds]]]
//
// Run it under an X server (bench/run.sh uses xvfb-run), as a user's desktop would.

#include "bench/BenchFiles.h"
#include "bench/ChildProcess.h"
#include "bench/CpuTime.h"
#include "bench/Photo.h"
#include "bench/SilentDialogs.h"
#include "bench/Spread.h"
#include "bench/WindowBatch.h"
#include "commit/BatchRun.h"

#include <QApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

using namespace BenchFiles;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int IconCount = 1000;
constexpr std::size_t HeaderSize = 54;
constexpr Pixel Blue{0x00, 0x00, 0xFF};
const std::string RecolourArguments =
    "-fill '#FF0000' -opaque '#0000FF' -type truecolor -define bmp:format=bmp3";

// A new folder of pictures, on disk before anything is timed, so that no run flushes the
// set-up's writes. Nothing is deleted until the end: a file system that has just freed
// thousands of files makes every new file slow for a while, whoever creates it.
using FolderMaker = void (*)(const fs::path& folder);

void makeIcons(const fs::path& folder) {
    writeIcons(folder, IconCount, blueIcon);
}

fs::path freshFolder(const fs::path& folder, FolderMaker make) {
    fs::create_directories(folder);
    make(folder);
    ::sync();
    return folder;
}

// The child processes `run` starts, from start to exit.
template <typename Run> Timing timeChildren(Run&& run) {
    const double cpu = cpuSeconds(RUSAGE_CHILDREN);
    const double seconds = run();
    return {seconds, cpuSeconds(RUSAGE_CHILDREN) - cpu};
}

Timing timeWindow(SilentDialogs& dialogs, const fs::path& root, FolderMaker make) {
    const auto pictures = freshFolder(root / "window", make);
    return timeWindowBatch(dialogs, root / "program", pictures);
}

void requireConverted(const FileOutcome& outcome) {
    if (outcome.status != FileStatus::Converted) {
        std::fprintf(stderr, "%s was not converted\n", outcome.path.c_str());
        std::exit(1);
    }
}

// The conversion core alone, given the files the window would give it: what the window adds
// is the difference.
Timing timeCore(const fs::path& root, FolderMaker make) {
    const auto pictures = freshFolder(root / "core", make);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(pictures)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    const ConversionRequest request{{{{0x00, 0x00, 0xFF}, {0xFF, 0x00, 0x00}}}, Growth::Top, true};
    BatchCallbacks callbacks;
    callbacks.outcome = requireConverted;
    const double cpu = cpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    BatchRun(request).run(files, callbacks);
    return {secondsSince(start), cpuSeconds(RUSAGE_SELF) - cpu};
}

Timing timeFloor(const fs::path& root, FolderMaker make) {
    const auto pictures = freshFolder(root / "floor", make);
    return timeChildren([&] { return durableFloorSeconds(pictures); });
}

Timing timeImageMagick(const fs::path& root, FolderMaker make, const std::string& command) {
    const auto pictures = freshFolder(root / "imagemagick", make);
    return timeChildren(
        [&] { return secondsOf("cd " + shellQuoted(pictures) + " && " + command); });
}

std::vector<char> pixelsOf(const fs::path& picture) {
    std::ifstream file(picture, std::ios::binary);
    std::vector<char> header(HeaderSize);
    file.read(header.data(), static_cast<std::streamsize>(header.size()));
    if (!file || header[10] != static_cast<char>(HeaderSize) || header[28] != 24) {
        return {};
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Both wrote the same 24-bit pixels under a 54-byte header, and the window kept backups.
void checkSameResults(const fs::path& root) {
    for (const auto& entry : fs::directory_iterator(root / "imagemagick")) {
        const auto name = entry.path().filename();
        const auto ours = pixelsOf(root / "window" / name);
        if (ours.empty() || ours != pixelsOf(entry.path()) ||
            !fs::exists((root / "window" / name).replace_extension(".bak"))) {
            std::fprintf(stderr, "%s differs from ImageMagick's\n", name.c_str());
            std::exit(1);
        }
    }
}

struct Contender {
    explicit Contender(const char* name)
        : name(name) {}

    const char* name;
    std::vector<double> seconds;
    std::vector<double> cpu;

    void add(const Timing& timing) {
        seconds.push_back(timing.seconds);
        cpu.push_back(timing.cpu);
    }
    double best() const { return spreadOf(seconds).best; }
};

struct Rounds {
    Contender window{"window"};
    Contender core{"core alone"};
    Contender floor{"floor"};
    Contender imageMagick{"ImageMagick"};
    std::vector<double> ratio; // window / floor, round by round
};

// The contenders take turns at going first. On a file system without a journal, a file created
// within a minute or so of many deletions is slow to create (freed inodes are skipped), and
// the floor deletes a round's worth of originals: no contender should always come after it.
Rounds measure(SilentDialogs& dialogs, const fs::path& folder, FolderMaker make,
               const std::string& imageMagick, int count) {
    Rounds rounds;
    for (int round = 0; round < count; ++round) {
        const auto root = folder / std::to_string(round + 1);
        Timing window, core, floor, reference;
        const std::array<std::function<void()>, 4> contenders{
            [&] { window = timeWindow(dialogs, root, make); },
            [&] { core = timeCore(root, make); },
            [&] { floor = timeFloor(root, make); },
            [&] { reference = timeImageMagick(root, make, imageMagick); },
        };
        for (std::size_t turn = 0; turn < contenders.size(); ++turn) {
            contenders[(static_cast<std::size_t>(round) + turn) % contenders.size()]();
        }
        checkSameResults(root);
        rounds.window.add(window);
        rounds.core.add(core);
        rounds.floor.add(floor);
        rounds.imageMagick.add(reference);
        rounds.ratio.push_back(window.seconds / floor.seconds);
        std::printf("  round %d: window %.3f s (cpu %.3f s), core %.3f s (cpu %.3f s), "
                    "floor %.3f s (cpu %.3f s), ImageMagick %.3f s (cpu %.3f s)\n",
                    round + 1, window.seconds, window.cpu, core.seconds, core.cpu, floor.seconds,
                    floor.cpu, reference.seconds, reference.cpu);
        std::fflush(stdout);
    }
    return rounds;
}

void printSpread(const Contender& contender) {
    const Spread seconds = spreadOf(contender.seconds);
    std::printf("  %-12s best %.3f s, median %.3f s, worst %.3f s; cpu best %.3f s\n",
                (std::string(contender.name) + ":").c_str(), seconds.best, seconds.median,
                seconds.worst, spreadOf(contender.cpu).best);
}

void report(const Rounds& rounds, double floorGoal, double imageMagickGoal) {
    printSpread(rounds.window);
    printSpread(rounds.core);
    printSpread(rounds.floor);
    printSpread(rounds.imageMagick);
    const Spread ratio = spreadOf(rounds.ratio);
    std::printf("  window / floor %.2f (best / best; rounds %.2f to %.2f), goal <= %.1f\n",
                rounds.window.best() / rounds.floor.best(), ratio.best, ratio.worst, floorGoal);
    std::printf("  ImageMagick / window %.1f", rounds.imageMagick.best() / rounds.window.best());
    if (imageMagickGoal > 0) {
        std::printf(", goal >= %.0f", imageMagickGoal);
    }
    std::printf("\n");
}

void makePhoto(const fs::path& folder) {
    writePhoto(folder / "photo.bmp", Blue);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const fs::path root =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "pixtint-bench-batch";
    const int iconRounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const int photoRounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    SilentDialogs dialogs;

    std::printf("%d 16 x 16 icons, backups on:\n", IconCount);
    fs::remove_all(root);
    report(measure(dialogs, root / "icons", makeIcons, "mogrify " + RecolourArguments + " *.bmp",
                   iconRounds),
           1.5, 0);
    std::printf("one %d x %d photograph (144 MB), backups on:\n", PhotoWidth, PhotoHeight);
    report(measure(dialogs, root / "photo", makePhoto,
                   "convert photo.bmp " + RecolourArguments + " photo.bmp", photoRounds),
           2.0, 5.0);
    fs::remove_all(root);
    return 0;
}
