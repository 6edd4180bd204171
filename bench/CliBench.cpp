// SPDX-License-Identifier: MIT
// Times pixtint-convert against ImageMagick and against the durable floor, each run in a child
// of its own whose time and peak memory are measured, on fresh copies of the same files:
//
//   1,000 16 x 16 icons, backups on:
//     pixtint-convert -q -f 0000ff -t ff0000 FOLDER
//     mogrify -fill '#FF0000' -opaque '#0000FF' -type truecolor -define bmp:format=bmp3 *.bmp
//     bench_durable_floor FOLDER
//   1,000 16 x 16 icons in a folder beside 100 others of icons: pixtint-convert and the
//   durable floor.
//   20,000 16 x 16 icons, backups on: pixtint-convert and the durable floor only (mogrify
//   would take minutes).
//   one 8000 x 6000 picture, backup on: the same, with convert ... -opaque in place of mogrify.
// Each round times every contender on its own fresh folder; the ratio to the floor is taken
// within each round, and the best and the median of the rounds are printed.
//
// Usage: bench_cli [scratch-folder [rounds]]
// The scratch folder must not be on tmpfs, so that the flushes reach a disk.

#include "bench/BenchFiles.h"
#include "bench/Spread.h"
#include "tests/support/SpawnedProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

namespace fs = std::filesystem;

constexpr int IconCount = 1000;
constexpr int ManyIconCount = 20000;
constexpr int NeighbourFolders = 100;
constexpr int NeighbourIcons = 100;
constexpr int BigWidth = 8000;
constexpr int BigHeight = 6000;
constexpr std::size_t HeaderSize = 54;
const std::string ImageMagickOptions =
    "-fill '#FF0000' -opaque '#0000FF' -type truecolor -define bmp:format=bmp3";

struct Measurement {
    double seconds = 1e9;
    long peakKiB = 0;

    void keepBest(const Measurement& other) {
        if (other.seconds < seconds) {
            *this = other;
        }
    }
};

// Every round of one contender against the floor, timed in the same round.
struct Rounds {
    Measurement best;
    std::vector<double> seconds;
    std::vector<double> ratios; // to the floor of the same round

    void add(const Measurement& measured, const Measurement& floor) {
        best.keepBest(measured);
        seconds.push_back(measured.seconds);
        ratios.push_back(measured.seconds / floor.seconds);
    }
};

// Runs the program in `arguments` as a child; its own time and peak memory. It starts with
// nothing of the others waiting to be written (mogrify flushes nothing), so that its flushes
// never pay for another contender's writes.
Measurement measure(std::vector<std::string> arguments) {
    ::sync();
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = spawnProgram(arguments, "/dev/null", nullptr);
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", arguments[0].c_str());
        std::exit(1);
    }
    return {BenchFiles::secondsSince(start), usage.ru_maxrss};
}

Measurement measureShell(const fs::path& folder, const std::string& command) {
    return measure({"/bin/sh", "-c", "cd '" + folder.string() + "' && exec " + command});
}

// Random colours, a tenth of them blue, written row by row.
void writeBigPicture(const fs::path& path) {
    std::ofstream file(path, std::ios::binary);
    const auto head = BenchFiles::bmp24(BigWidth, 1, 0);
    std::vector<std::uint8_t> header(head.begin(), head.begin() + HeaderSize);
    header[22] = BigHeight & 0xFF;
    header[23] = BigHeight >> 8;
    const std::uint32_t size = HeaderSize + 3u * BigWidth * BigHeight;
    for (int i = 0; i < 4; ++i) {
        header[2 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    file.write(reinterpret_cast<const char*>(header.data()), HeaderSize);
    std::mt19937 random(20240601);
    std::vector<char> row(3 * BigWidth);
    for (int y = 0; y < BigHeight; ++y) {
        for (std::size_t x = 0; x < row.size(); x += 3) {
            const bool blue = random() % 10 == 0;
            row[x] = static_cast<char>(blue ? 0xFF : random() & 0x7F);
            row[x + 1] = static_cast<char>(blue ? 0 : 0x20);
            row[x + 2] = static_cast<char>(blue ? 0 : 0x10);
        }
        file.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

// Fresh folders holding the same files, one per tool, written out before anything is timed.
void prepare(const fs::path& root, const std::vector<std::string>& tools,
             const std::function<void(const fs::path&)>& fill) {
    for (const auto& tool : tools) {
        fs::remove_all(root / tool);
        fs::create_directories(root / tool);
        fill(root / tool);
    }
    ::sync();
}

// The pixels after the 54-byte header are the same (ImageMagick writes its own header).
bool samePixels(const fs::path& ours, const fs::path& theirs) {
    std::ifstream a(ours, std::ios::binary), b(theirs, std::ios::binary);
    a.ignore(HeaderSize);
    b.ignore(HeaderSize);
    return std::equal(std::istreambuf_iterator<char>(a), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(b), std::istreambuf_iterator<char>());
}

void printRatio(const Rounds& ours) {
    const Spread ratio = spreadOf(ours.ratios);
    std::printf("  ours / floor in the same round: best %.2f x, median %.2f x, worst %.2f x\n",
                ratio.best, ratio.median, ratio.worst);
}

void report(const char* what, const Rounds& ours, const Measurement& imageMagick,
            const char* imageMagickName, const Rounds& floor) {
    std::printf("%s\n  pixtint-convert %.3f s (median %.3f s), peak %.1f MiB\n"
                "  %-15s %.3f s (%.1f x ours)\n  durable floor   %.3f s (median %.3f s)\n",
                what, ours.best.seconds, spreadOf(ours.seconds).median, ours.best.peakKiB / 1024.0,
                imageMagickName, imageMagick.seconds, imageMagick.seconds / ours.best.seconds,
                floor.best.seconds, spreadOf(floor.seconds).median);
    printRatio(ours);
}

void reportAgainstFloor(const char* what, const Rounds& ours, const Rounds& floor) {
    std::printf("%s\n  pixtint-convert %.3f s (median %.3f s), peak %.1f MiB\n"
                "  durable floor   %.3f s (median %.3f s)\n",
                what, ours.best.seconds, spreadOf(ours.seconds).median, ours.best.peakKiB / 1024.0,
                floor.best.seconds, spreadOf(floor.seconds).median);
    printRatio(ours);
}

void writeIcons(const fs::path& folder, int count) {
    BenchFiles::writeIcons(folder, count, BenchFiles::blueIcon);
}

// 100 folders of icons beside the ones timed, as a user's collection of icon sets is: the
// run must cost no more there than in a folder of its own.
fs::path crowdedRoot(const fs::path& root) {
    const fs::path crowded = root / "crowded";
    for (int i = 0; i < NeighbourFolders; ++i) {
        const fs::path neighbour = crowded / ("set" + std::to_string(i));
        fs::create_directories(neighbour);
        writeIcons(neighbour, NeighbourIcons);
    }
    ::sync();
    return crowded;
}

} // namespace

int main(int argc, char** argv) {
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path("/var/tmp/pixtint-bench-cli");
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::vector<std::string> tools{"pixtint", "imagemagick", "floor"};
    const std::string ours = PIXTINT_CONVERT;
    const std::string floorProgram = PIXTINT_DURABLE_FLOOR;

    const auto convertFolder = [&](const fs::path& folder) {
        return measure({ours, "-q", "-f", "0000ff", "-t", "ff0000", folder});
    };
    Rounds icons, iconsFloor;
    Measurement mogrify;
    for (int round = 0; round < rounds; ++round) {
        prepare(root, tools, [](const fs::path& folder) { writeIcons(folder, IconCount); });
        const Measurement measured = convertFolder(root / "pixtint");
        mogrify.keepBest(measureShell(root / "imagemagick",
                                      "/usr/bin/mogrify " + ImageMagickOptions + " *.bmp"));
        const Measurement floor = measure({floorProgram, root / "floor"});
        icons.add(measured, floor);
        iconsFloor.add(floor, floor);
        for (int i = 0; i < IconCount; ++i) {
            const auto name = "icon" + std::to_string(i) + ".bmp";
            if (!samePixels(root / "pixtint" / name, root / "imagemagick" / name)) {
                std::fprintf(stderr, "%s differs from ImageMagick's\n", name.c_str());
                return 1;
            }
        }
    }
    report("1,000 16 x 16 icons, backups on:", icons, mogrify, "mogrify", iconsFloor);

    const fs::path crowded = crowdedRoot(root);
    Rounds besideOthers, besideOthersFloor;
    for (int round = 0; round < rounds; ++round) {
        prepare(crowded, {"pixtint", "floor"},
                [](const fs::path& folder) { writeIcons(folder, IconCount); });
        const Measurement measured = convertFolder(crowded / "pixtint");
        const Measurement floor = measure({floorProgram, crowded / "floor"});
        besideOthers.add(measured, floor);
        besideOthersFloor.add(floor, floor);
    }
    reportAgainstFloor("1,000 16 x 16 icons in a folder beside 100 others, backups on:",
                       besideOthers, besideOthersFloor);

    Rounds many, manyFloor;
    for (int round = 0; round < rounds; ++round) {
        prepare(root, {"pixtint", "floor"},
                [](const fs::path& folder) { writeIcons(folder, ManyIconCount); });
        const Measurement measured = convertFolder(root / "pixtint");
        const Measurement floor = measure({floorProgram, root / "floor"});
        many.add(measured, floor);
        manyFloor.add(floor, floor);
    }
    reportAgainstFloor("20,000 16 x 16 icons, backups on:", many, manyFloor);

    const auto source = root / "big-source.bmp";
    writeBigPicture(source);
    Rounds big, bigFloor;
    Measurement convert;
    for (int round = 0; round < rounds; ++round) {
        prepare(root, tools,
                [&](const fs::path& folder) { fs::copy_file(source, folder / "big.bmp"); });
        const Measurement measured = convertFolder(root / "pixtint/big.bmp");
        convert.keepBest(measureShell(root / "imagemagick", "/usr/bin/convert big.bmp " +
                                                                ImageMagickOptions + " big.bmp"));
        const Measurement floor = measure({floorProgram, root / "floor"});
        big.add(measured, floor);
        bigFloor.add(floor, floor);
        if (!samePixels(root / "pixtint/big.bmp", root / "imagemagick/big.bmp")) {
            std::fprintf(stderr, "the 8000 x 6000 picture differs from ImageMagick's\n");
            return 1;
        }
    }
    report("one 8000 x 6000 picture, backup on:", big, convert, "convert", bigFloor);
    std::printf("(best and median of %d rounds)\n", rounds);
    fs::remove_all(root);
    return 0;
}
