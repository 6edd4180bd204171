// SPDX-License-Identifier: MIT
// Times pixtint-convert on the kinds of picture beyond the plain 24-bit one, each against a
// reference timed in the same rounds, taking turns at going first:
//
//   a 32-bit 8000 x 6000 picture (192 MB), backup on, against dd copying the same file with
//     conv=fsync (goal: at most 1.5 x);
//   the 24-bit 8000 x 6000 photograph (144 MB), dry run (the walk alone, nothing written),
//     with --tolerance 8 against the exact walk (goal: at most 1.3 x);
//   20,000 4-bit 16 x 15 icons against 20,000 24-bit icons of the same size, grown at the
//     top, backups on (goal: no slower).
//
// Usage: bench_kinds [scratch-folder [rounds]]
// The scratch folder must not be on tmpfs, so that the flushes reach a disk.

#include "bench/BenchFiles.h"
#include "bench/ChildProcess.h"
#include "bench/CpuTime.h"
#include "bench/Photo.h"
#include "bench/Spread.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

// Pictures are described by naming only the fields that matter.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace pixtint;

namespace {

namespace fs = std::filesystem;

constexpr int IconCount = 20000;
constexpr Pixel Blue{0, 0, 255};
const std::string Ours = PIXTINT_CONVERT;

// Random colours, a tenth of them blue, and an alpha byte that varies, row by row.
void writeBig32(const fs::path& path) {
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    writeBmpRows(path, {.width = PhotoWidth, .height = PhotoHeight, .bitCount = 32},
                 [&](std::span<std::uint8_t> row) {
                     for (std::size_t x = 0; x < row.size(); x += 4) {
                         state ^= state << 13;
                         state ^= state >> 7;
                         state ^= state << 17;
                         const bool blue = state % 10 == 0;
                         row[x] = static_cast<std::uint8_t>(blue ? 0xFF : (state >> 8) & 0x7F);
                         row[x + 1] = static_cast<std::uint8_t>(blue ? 0 : state >> 16);
                         row[x + 2] = static_cast<std::uint8_t>(blue ? 0 : state >> 24);
                         row[x + 3] = static_cast<std::uint8_t>(state >> 32);
                     }
                 });
}

// A 16 x 15 icon: blue background, a grey frame and a dark mark, 4-bit or 24-bit.
std::vector<std::uint8_t> icon(int bits, int seed) {
    const std::vector<Pixel> palette{
        Blue, {128, 128, 128}, {static_cast<std::uint8_t>(seed), 20, 20}, {255, 255, 255}};
    const auto indexAt = [&](int x, int y) {
        if (x == 0 || y == 0 || x == 15 || y == 14) {
            return 1;
        }
        return (x + y + seed) % 5 == 0 ? 2 : (x * y) % 7 == 0 ? 3 : 0;
    };
    BmpRecipe recipe{.bitCount = bits};
    if (bits == 4) {
        recipe.palette = palette;
    }
    for (int y = 14; y >= 0; --y) {
        for (int x = 0; x < 16; ++x) {
            const int index = indexAt(x, y);
            if (bits == 4) {
                if (x % 2 == 0) {
                    recipe.pixels.push_back(static_cast<std::uint8_t>(index << 4));
                } else {
                    recipe.pixels.back() |= static_cast<std::uint8_t>(index);
                }
            } else {
                const Pixel colour = palette[static_cast<std::size_t>(index)];
                recipe.pixels.insert(recipe.pixels.end(), {colour.blue, colour.green, colour.red});
            }
        }
    }
    return makeBmp(recipe);
}

std::string quoted(const fs::path& path) {
    return shellQuoted(path);
}

void bigPicture32(const fs::path& root, int rounds) {
    const auto source = root / "big32-source.bmp";
    writeBig32(source);
    std::vector<double> ours, dd;
    for (int round = 0; round < rounds; ++round) {
        fs::remove_all(root / "big32");
        fs::create_directories(root / "big32");
        fs::copy_file(source, root / "big32/big.bmp");
        ::sync();
        inTurns(
            round,
            [&] {
                ours.push_back(
                    secondsOf(Ours + " -q -f 0000ff -t ff0000 " + quoted(root / "big32/big.bmp")));
            },
            [&] {
                dd.push_back(secondsOf("dd if=" + quoted(source) +
                                       " of=" + quoted(root / "big32/dd.bmp") +
                                       " bs=1M conv=fsync status=none"));
            });
        fs::remove(root / "big32/dd.bmp");
    }
    report("a 32-bit 8000 x 6000 picture (192 MB), backup on:", ours, "dd conv=fsync", dd, 1.5);
    fs::remove_all(root / "big32");
    fs::remove(source);
}

void tolerance(const fs::path& root, int rounds) {
    const auto photo = root / "photo.bmp";
    writePhoto(photo, Pixel{0xC0, 0xC0, 0xC0});
    const std::string walk = Ours + " -q -n -f c0c0c0 -t ff00ff ";
    std::vector<double> tolerant, exact;
    for (int round = 0; round < rounds; ++round) {
        inTurns(
            round, [&] { tolerant.push_back(secondsOf(walk + "--tolerance 8 " + quoted(photo))); },
            [&] { exact.push_back(secondsOf(walk + quoted(photo))); });
    }
    report("the 24-bit 8000 x 6000 photograph (144 MB), dry run, --tolerance 8:", tolerant,
           "exact walk", exact, 1.3);
    fs::remove(photo);
}

void writeIcons(const fs::path& folder, int bits) {
    fs::remove_all(folder);
    BenchFiles::writeIcons(folder, IconCount, [bits](int seed) { return icon(bits, seed); });
}

// The seconds `command` took on the clock, and the processor time it used in `cpu`.
double timed(const std::string& command, std::vector<double>& cpu) {
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    const double seconds = secondsOf(command);
    cpu.push_back(cpuSeconds(RUSAGE_CHILDREN) - before);
    return seconds;
}

void icons(const fs::path& root, int rounds) {
    const std::string convert = Ours + " -q -g top -f 0000ff -t ff0000 ";
    std::vector<double> palette, truecolour, paletteCpu, truecolourCpu;
    for (int round = 0; round < rounds; ++round) {
        writeIcons(root / "icons4", 4);
        writeIcons(root / "icons24", 24);
        ::sync();
        inTurns(
            round, [&] { palette.push_back(timed(convert + quoted(root / "icons4"), paletteCpu)); },
            [&] {
                truecolour.push_back(timed(convert + quoted(root / "icons24"), truecolourCpu));
            });
    }
    report("20,000 4-bit 16 x 15 icons, grown, backups on:", palette, "24-bit icons", truecolour,
           1.0);
    report("  the same, processor time:", paletteCpu, "24-bit icons", truecolourCpu, 1.0);
    fs::remove_all(root / "icons4");
    fs::remove_all(root / "icons24");
}

} // namespace

int main(int argc, char** argv) {
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path("/var/tmp/pixtint-bench-kinds");
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    fs::create_directories(root);
    bigPicture32(root, rounds);
    tolerance(root, rounds);
    icons(root, rounds);
    std::printf("(each round's references in the same round; %d rounds)\n", rounds);
    fs::remove_all(root);
    return 0;
}
