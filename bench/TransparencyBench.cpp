// SPDX-License-Identifier: MIT
// Times pixtint-convert turning a key colour transparent, which rewrites every picture as a
// 32-bit one, each against a reference timed in the same rounds, taking turns at going first:
//
//   20,000 24-bit 16 x 15 icons, backups on, against the durable floor rewriting the same
//     icons (goal: at most 1.3 x), and beside the plain recolour of the same icons;
//   the 24-bit 8000 x 6000 photograph, backup on, against dd copying the 192 MB result with
//     conv=fsync (goal: at most 2 x).
//
// Usage: bench_transparency [scratch-folder [rounds]]
// The scratch folder must not be on tmpfs, so that the flushes reach a disk.

#include "bench/BenchFiles.h"
#include "bench/ChildProcess.h"
#include "bench/Photo.h"
#include "bench/Spread.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

namespace fs = std::filesystem;

constexpr int IconCount = 20000;
constexpr Pixel Magenta{255, 0, 255};
const std::string Ours = PIXTINT_CONVERT;
const std::string ToTransparent = " -q -f ff00ff -t transparent ";

// A 16 x 15 toolbar icon: magenta background, a grey frame and a dark mark.
std::vector<std::uint8_t> icon(int seed) {
    std::vector<std::uint8_t> bytes = BenchFiles::bmp24(16, 15, 0);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool frame = x == 0 || y == 0 || x == 15 || y == 14;
            const bool mark = (x + y + seed) % 5 == 0;
            setPixel(bytes, x, y,
                     frame  ? Pixel{128, 128, 128}
                     : mark ? Pixel{static_cast<std::uint8_t>(seed), 20, 20}
                            : Magenta);
        }
    }
    return bytes;
}

void writeIcons(const fs::path& folder) {
    fs::remove_all(folder);
    BenchFiles::writeIcons(folder, IconCount, icon);
}

// The plain recolour of the same icons is timed as well: what transparency adds to it.
void icons(const fs::path& root, int rounds) {
    std::vector<double> ours, floor, plain;
    for (int round = 0; round < rounds; ++round) {
        for (const char* folder : {"ours", "floor", "plain"}) {
            writeIcons(root / folder);
        }
        ::sync();
        inTurns(
            round,
            [&] { ours.push_back(secondsOf(Ours + ToTransparent + shellQuoted(root / "ours"))); },
            [&] { floor.push_back(durableFloorSeconds(root / "floor")); });
        plain.push_back(secondsOf(Ours + " -q -f ff00ff -t 00ff00 " + shellQuoted(root / "plain")));
    }
    report("20,000 24-bit 16 x 15 icons to transparency, backups on:", ours, "durable floor", floor,
           1.3);
    const Spread recolour = spreadOf(plain);
    std::printf("  plain recolour   best %.3f s, median %.3f s, worst %.3f s\n", recolour.best,
                recolour.median, recolour.worst);
    for (const char* folder : {"ours", "floor", "plain"}) {
        fs::remove_all(root / folder);
    }
}

std::string ddCopy(const fs::path& from, const fs::path& to) {
    return "dd if=" + shellQuoted(from) + " of=" + shellQuoted(to) +
           " bs=1M conv=fsync status=none";
}

void photo(const fs::path& root, int rounds) {
    const auto source = root / "photo.bmp";
    const auto picture = root / "big/photo.bmp";
    const auto result = root / "result.bmp";
    writePhoto(source, Magenta);
    // The 192 MB result that dd copies, made once beforehand.
    fs::copy_file(source, result, fs::copy_options::overwrite_existing);
    secondsOf(Ours + ToTransparent + "--no-backup " + shellQuoted(result));
    std::vector<double> ours, dd;
    for (int round = 0; round < rounds; ++round) {
        fs::remove_all(root / "big");
        fs::create_directories(root / "big");
        fs::copy_file(source, picture);
        ::sync();
        inTurns(
            round, [&] { ours.push_back(secondsOf(Ours + ToTransparent + shellQuoted(picture))); },
            [&] { dd.push_back(secondsOf(ddCopy(result, root / "big/dd.bmp"))); });
    }
    std::printf("  (result %ju bytes)\n", static_cast<std::uintmax_t>(fs::file_size(result)));
    report("the 24-bit 8000 x 6000 photograph to transparency (192 MB result), backup on:", ours,
           "dd conv=fsync", dd, 2.0);
    fs::remove_all(root / "big");
    fs::remove(source);
    fs::remove(result);
}

} // namespace

int main(int argc, char** argv) {
    const fs::path root =
        argc > 1 ? fs::path(argv[1]) : fs::path("/var/tmp/pixtint-bench-transparency");
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    fs::create_directories(root);
    icons(root, rounds);
    photo(root, rounds);
}
