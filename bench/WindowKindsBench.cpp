// SPDX-License-Identifier: MIT
// Times the window's batch on 16 x 15 toolbar icons, grown to 16 x 16 at the top with backups
// on, blue made red: 4-bit palette icons (whose palette takes a new entry for the new row)
// against 24-bit icons of the same pixels, on fresh identical folders in the same rounds. The
// two take turns at going first. Run it under an X server (bench/run.sh uses xvfb-run).
//
//   bench_window_kinds [scratch-folder [icons [rounds]]]

#include "bench/BenchFiles.h"
#include "bench/SilentDialogs.h"
#include "bench/Spread.h"
#include "bench/WindowBatch.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

namespace fs = std::filesystem;

constexpr double RatioGoal = 1.05;
constexpr int Width = 16;
constexpr int Height = 15;
constexpr Pixel Blue{0x00, 0x00, 0xFF};

// The palette: blue, the FROM colour, at index 0, then seven greys. Red, the new row's
// colour, is not in it: the grown icon takes it as a ninth entry.
std::vector<Pixel> palette() {
    std::vector<Pixel> entries{Blue};
    for (std::uint8_t grey = 1; grey < 8; ++grey) {
        const auto shade = static_cast<std::uint8_t>(grey * 32);
        entries.push_back({shade, shade, shade});
    }
    return entries;
}

// A third of the pixels blue, the rest greys, varied by `seed`.
unsigned indexAt(int pixel, int seed) {
    return (pixel + seed) % 3 == 0 ? 0u : 1u + static_cast<unsigned>(pixel + seed) % 7;
}

std::vector<std::uint8_t> paletteIcon(int seed) {
    BmpRecipe recipe;
    recipe.width = Width;
    recipe.height = Height;
    recipe.bitCount = 4;
    recipe.palette = palette();
    const int stride = static_cast<int>(strideFor(Width, 4));
    recipe.pixels.assign(static_cast<std::size_t>(stride) * Height, 0);
    for (int pixel = 0; pixel < Width * Height; ++pixel) {
        const auto at = static_cast<std::size_t>(pixel / Width * stride + pixel % Width / 2);
        const unsigned nibble = indexAt(pixel, seed) << (pixel % 2 == 0 ? 4 : 0);
        recipe.pixels[at] = static_cast<std::uint8_t>(recipe.pixels[at] | nibble);
    }
    return makeBmp(recipe);
}

std::vector<std::uint8_t> rgbIcon(int seed) {
    const std::vector<Pixel> entries = palette();
    std::vector<std::uint8_t> bytes = makeBmp24(Width, Height, {});
    for (int pixel = 0; pixel < Width * Height; ++pixel) {
        setPixel(bytes, pixel % Width, pixel / Width, entries[indexAt(pixel, seed)]);
    }
    return bytes;
}

using IconMaker = std::vector<std::uint8_t> (*)(int seed);

// On disk and synced before anything is timed, so that no run flushes the set-up's writes.
fs::path freshFolder(const fs::path& folder, IconMaker make, int count) {
    BenchFiles::writeIcons(folder, count, make);
    ::sync();
    return folder;
}

void printSpread(const char* name, const std::vector<double>& seconds,
                 const std::vector<double>& cpu) {
    const Spread spread = spreadOf(seconds);
    std::printf("  %-8s best %.3f s, median %.3f s, worst %.3f s; cpu best %.3f s, median %.3f s\n",
                name, spread.best, spread.median, spread.worst, spreadOf(cpu).best,
                spreadOf(cpu).median);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const fs::path root =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "pixtint-bench-window-kinds";
    const int icons = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20000;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    SilentDialogs dialogs;
    fs::remove_all(root);
    std::printf("%d 16 x 15 icons grown to 16 x 16, backups on: 4-bit against 24-bit\n", icons);
    std::vector<double> seconds[2], cpu[2];
    for (int round = 0; round < rounds; ++round) {
        const auto folder = root / std::to_string(round + 1);
        const fs::path pictures[2] = {freshFolder(folder / "p4", paletteIcon, icons),
                                      freshFolder(folder / "rgb24", rgbIcon, icons)};
        Timing timings[2];
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (round + turn) % 2;
            timings[which] = timeWindowBatch(dialogs, folder / "program", pictures[which]);
        }
        for (int which = 0; which < 2; ++which) {
            seconds[which].push_back(timings[which].seconds);
            cpu[which].push_back(timings[which].cpu);
        }
        std::printf("  round %d: 4-bit %.3f s (cpu %.3f s), 24-bit %.3f s (cpu %.3f s)\n",
                    round + 1, timings[0].seconds, timings[0].cpu, timings[1].seconds,
                    timings[1].cpu);
        std::fflush(stdout);
    }
    printSpread("4-bit:", seconds[0], cpu[0]);
    printSpread("24-bit:", seconds[1], cpu[1]);
    std::printf("  4-bit / 24-bit: medians %.3f, bests %.3f (goal <= %.2f on medians)\n",
                spreadOf(seconds[0]).median / spreadOf(seconds[1]).median,
                spreadOf(seconds[0]).best / spreadOf(seconds[1]).best, RatioGoal);
    fs::remove_all(root);
    return 0;
}
