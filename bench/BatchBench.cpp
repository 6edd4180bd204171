// Times the batch conversion on the offscreen platform against ImageMagick's mogrify doing the
// same recolouring: 1,000 16 x 16 icons, backups on, blue made red.
//
//   bench_batch [scratch-folder [icon-count]]
//
// mogrify is run as `mogrify -fill '#FF0000' -opaque '#0000FF' -type truecolor
// -define bmp:format=bmp3 *.bmp` in a copy of the same folder, so that it too writes 24-bit
// BMPs with the 54-byte header; its pixels are checked against the batch's.

#include "bench/BenchFiles.h"
#include "bench/SilentDialogs.h"
#include "engine/FileBytes.h"
#include "mainwindow/StartUp.h"
#include "platform/FileOperations.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace pixtint;

namespace {

using namespace BenchFiles;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

int IconCount = 1000;
constexpr int Rounds = 3;
constexpr std::size_t HeaderSize = 54;
const char* const MogrifyCommand = "mogrify -fill '#FF0000' -opaque '#0000FF' -type truecolor "
                                   "-define bmp:format=bmp3 *.bmp";

// A 16 x 16 icon: a third of its pixels blue (the before colour), the rest shades of grey.
std::vector<std::uint8_t> icon(int seed) {
    constexpr int Side = 16;
    std::vector<std::uint8_t> bytes = bmp24(Side, Side, 0);
    for (int pixel = 0; pixel < Side * Side; ++pixel) {
        std::uint8_t* bgr = &bytes[HeaderSize + 3 * pixel];
        if ((pixel + seed) % 3 == 0) {
            bgr[0] = 0xFF; // blue
        } else {
            std::fill_n(bgr, 3, static_cast<std::uint8_t>(pixel + seed));
        }
    }
    return bytes;
}

void makeIcons(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < IconCount; ++i) {
        writeFile(folder / ("icon" + std::to_string(i) + ".bmp"), icon(i));
    }
}

double timePixtint(Dialogs& dialogs, const fs::path& root, bool backups) {
    const auto pictures = root / "pixtint";
    makeIcons(pictures);
    writeSettings(root / "program", pictures, backups);
    const auto window = Main(dialogs, DisplayPath(root / "program"));
    const auto start = Clock::now();
    window->Command4->click();
    return secondsSince(start);
}

double timeMogrify(const fs::path& root) {
    const auto pictures = root / "mogrify";
    makeIcons(pictures);
    const std::string command = "cd '" + pictures.string() + "' && " + MogrifyCommand;
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "mogrify failed\n");
        std::exit(1);
    }
    return secondsSince(start);
}

// Both tools must have written the same 24-bit pixels under a 54-byte header.
bool sameResults(const fs::path& root) {
    for (int i = 0; i < IconCount; ++i) {
        const auto name = "icon" + std::to_string(i) + ".bmp";
        const auto ours = readWholeFile(root / "pixtint" / name);
        const auto theirs = readWholeFile(root / "mogrify" / name);
        if (ours.size() != theirs.size() || theirs[10] != HeaderSize || theirs[28] != 24 ||
            !std::equal(ours.begin() + HeaderSize, ours.end(), theirs.begin() + HeaderSize)) {
            std::fprintf(stderr, "%s differs\n", name.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const fs::path root =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "pixtint-bench-batch";
    if (argc > 2) {
        IconCount = std::max(1, std::atoi(argv[2]));
    }
    SilentDialogs dialogs;
    double pixtint = 1e9;
    double withoutBackups = 1e9;
    double mogrify = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        withoutBackups = std::min(withoutBackups, timePixtint(dialogs, root, false));
        pixtint = std::min(pixtint, timePixtint(dialogs, root, true));
        mogrify = std::min(mogrify, timeMogrify(root));
        if (!sameResults(root)) {
            return 1;
        }
    }
    std::printf("batch of %d 16 x 16 icons, backups on:  %.3f s, %.0f files/s (best of %d)\n",
                IconCount, pixtint, IconCount / pixtint, Rounds);
    std::printf("the same batch, backups off:           %.3f s, %.0f files/s\n", withoutBackups,
                IconCount / withoutBackups);
    std::printf("mogrify on the same icons:             %.3f s, %.0f files/s (best of %d)\n",
                mogrify, IconCount / mogrify, Rounds);
    fs::remove_all(root);
    return 0;
}
