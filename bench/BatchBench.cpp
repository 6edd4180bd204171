// Times the window's batch on a real display, from the click on 変換実行 to the closing
// message 変換終了！, with backups on, blue made red, against two references run in the same
// rounds on identical fresh folders:
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
#include "bench/Photo.h"
#include "bench/ShownWindow.h"
#include "bench/SilentDialogs.h"
#include "bench/Spread.h"
#include "mainwindow/StartUp.h"
#include "platform/FileOperations.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
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

// A 16 x 16 icon: a third of its pixels blue (the before colour), the rest shades of grey.
std::vector<std::uint8_t> icon(int seed) {
    constexpr int Side = 16;
    std::vector<std::uint8_t> bytes = makeBmp24(Side, Side, {});
    for (int pixel = 0; pixel < Side * Side; ++pixel) {
        const auto shade = static_cast<std::uint8_t>(pixel + seed);
        setPixel(bytes, pixel % Side, pixel / Side,
                 (pixel + seed) % 3 == 0 ? Blue : Pixel{shade, shade, shade});
    }
    return bytes;
}

// A fresh folder of pictures, on disk before anything is timed, so that no run flushes the
// set-up's writes.
using FolderMaker = void (*)(const fs::path& folder);

void makeIcons(const fs::path& folder) {
    for (int i = 0; i < IconCount; ++i) {
        writeFile(folder / ("icon" + std::to_string(i) + ".bmp"), icon(i));
    }
}

fs::path freshFolder(const fs::path& folder, FolderMaker make) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    make(folder);
    ::sync();
    return folder;
}

// The seconds from the click on 変換実行 to the closing message.
double timeWindow(SilentDialogs& dialogs, const fs::path& root, FolderMaker make) {
    const auto pictures = freshFolder(root / "window", make);
    writeSettings(root / "program", pictures, true);
    const auto window = Main(dialogs, DisplayPath(root / "program"));
    waitUntilShown(*window);
    std::optional<Clock::time_point> closed;
    dialogs.onMessage = [&closed](const QString& text) {
        if (text == QStringLiteral("変換終了！")) {
            closed = Clock::now();
        } else {
            std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
            std::exit(1);
        }
    };
    const auto start = Clock::now();
    window->Command4->click();
    dialogs.onMessage = nullptr;
    if (!closed) {
        std::fprintf(stderr, "the batch never ended with its message\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(*closed - start).count();
}

double timeFloor(const fs::path& root, FolderMaker make) {
    return durableFloorSeconds(freshFolder(root / "floor", make));
}

double timeImageMagick(const fs::path& root, FolderMaker make, const std::string& command) {
    const auto pictures = freshFolder(root / "imagemagick", make);
    return secondsOf("cd " + shellQuoted(pictures) + " && " + command);
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

struct Rounds {
    std::vector<double> window, floor, imageMagick, ratio;
};

Rounds measure(SilentDialogs& dialogs, const fs::path& root, FolderMaker make,
               const std::string& imageMagick, int count) {
    Rounds rounds;
    for (int round = 0; round < count; ++round) {
        rounds.window.push_back(timeWindow(dialogs, root, make));
        rounds.floor.push_back(timeFloor(root, make));
        rounds.imageMagick.push_back(timeImageMagick(root, make, imageMagick));
        rounds.ratio.push_back(rounds.window.back() / rounds.floor.back());
        checkSameResults(root);
        std::printf("  round %d: window %.3f s, floor %.3f s, ImageMagick %.3f s\n", round + 1,
                    rounds.window.back(), rounds.floor.back(), rounds.imageMagick.back());
        std::fflush(stdout);
    }
    return rounds;
}

void printSpread(const char* what, const std::vector<double>& rounds) {
    const Spread spread = spreadOf(rounds);
    std::printf("  %-14s best %.3f s, median %.3f s, worst %.3f s\n", what, spread.best,
                spread.median, spread.worst);
}

void report(const Rounds& rounds, double floorGoal, double imageMagickGoal) {
    printSpread("window:", rounds.window);
    printSpread("floor:", rounds.floor);
    printSpread("ImageMagick:", rounds.imageMagick);
    const double window = spreadOf(rounds.window).best;
    const double floor = spreadOf(rounds.floor).best;
    const double imageMagick = spreadOf(rounds.imageMagick).best;
    const Spread ratio = spreadOf(rounds.ratio);
    std::printf("  window / floor %.2f (best / best; rounds %.2f to %.2f), goal <= %.1f\n",
                window / floor, ratio.best, ratio.worst, floorGoal);
    std::printf("  ImageMagick / window %.1f", imageMagick / window);
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
    report(measure(dialogs, root, makeIcons, "mogrify " + RecolourArguments + " *.bmp", iconRounds),
           1.5, 0);
    std::printf("one %d x %d photograph (144 MB), backups on:\n", PhotoWidth, PhotoHeight);
    report(measure(dialogs, root, makePhoto,
                   "convert photo.bmp " + RecolourArguments + " photo.bmp", photoRounds),
           2.0, 5.0);
    fs::remove_all(root);
    return 0;
}
