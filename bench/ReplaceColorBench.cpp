// SPDX-License-Identifier: MIT
// Times the core's conversion of an 8000 x 6000 picture (convertFile, streamed in 1 MiB
// chunks into a new file) against the floor for the same work: a streaming copy of the file
// through a 1 MiB buffer into a new file. Neither flushes its output to disk (a batch flushes
// its copies together, at the commit of a group), so the ratio shows what the walk itself
// costs. Each measured run happens in a child process whose peak memory is its own.
//
//   bench_replace_color [folder [rounds]]

#include "bench/Photo.h"
#include "bench/Spread.h"
#include "conversion/FileConversion.h"
#include "engine/ByteSource.h"
#include "filesafety/FileByteSource.h"
#include "filesafety/PosixFile.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

constexpr std::size_t BufferSize = std::size_t{1} << 20;
constexpr Pixel From{0xC0, 0xC0, 0xC0};
constexpr Pixel To{0xFF, 0x00, 0xFF};
constexpr double Goal = 1.7;

struct Measurement {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
};

Rgb rgbOf(Pixel pixel) {
    return {pixel.red, pixel.green, pixel.blue};
}

UniqueFd createOutput(const std::filesystem::path& path) {
    UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.get() < 0) {
        throwErrno(errno, path);
    }
    return file;
}

void streamingCopy(const std::filesystem::path& source, const std::filesystem::path& target) {
    const UniqueFd input = openRegularFileForReading(source);
    const UniqueFd output = createOutput(target);
    std::vector<std::uint8_t> buffer(BufferSize);
    while (const std::size_t count = readFully(input.get(), buffer, source)) {
        writeFully(output.get(), std::span(buffer).first(count), target);
    }
}

// What a batch does to a file before its group is committed: the converted bytes streamed
// into a new file.
void convertInto(const std::filesystem::path& source, const std::filesystem::path& target) {
    const FileByteSource input(source);
    const UniqueFd output = createOutput(target);
    const ConversionRequest request{{{rgbOf(From), rgbOf(To)}}};
    convertFile(input, request, [&](std::span<const std::uint8_t> bytes) {
        writeFully(output.get(), bytes, target);
    });
}

Measurement inChild(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s\n", error.what());
            std::_Exit(2);
        }
        std::_Exit(0);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || status != 0) {
        std::fprintf(stderr, "the measured run failed\n");
        std::exit(1);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {elapsed.count(), cpu, usage.ru_maxrss};
}

bool isColour(const char* pixel, Pixel colour) {
    return static_cast<std::uint8_t>(pixel[0]) == colour.blue &&
           static_cast<std::uint8_t>(pixel[1]) == colour.green &&
           static_cast<std::uint8_t>(pixel[2]) == colour.red;
}

// Every pixel of the FROM colour became the TO colour, and every other byte is the
// picture's own.
bool resultIsRight(const std::filesystem::path& picture, const std::filesystem::path& result) {
    std::ifstream original(picture, std::ios::binary);
    std::ifstream converted(result, std::ios::binary);
    std::vector<char> header(54), convertedHeader(54);
    original.read(header.data(), 54);
    converted.read(convertedHeader.data(), 54);
    bool right = header == convertedHeader;
    std::vector<char> row(PhotoWidth * 3), convertedRow(PhotoWidth * 3);
    const auto size = static_cast<std::streamsize>(row.size());
    for (int y = 0; right && y < PhotoHeight; ++y) {
        right = original.read(row.data(), size) && converted.read(convertedRow.data(), size);
        for (std::size_t x = 0; right && x < row.size(); x += 3) {
            right = isColour(&row[x], From) ? isColour(&convertedRow[x], To)
                                            : std::equal(&row[x], &row[x] + 3, &convertedRow[x]);
        }
    }
    return right && converted.peek() == std::ifstream::traits_type::eof();
}

void printSpread(const char* what, const Spread& spread, const char* unit) {
    std::printf("%-22s best %.3f%s, median %.3f%s, worst %.3f%s\n", what, spread.best, unit,
                spread.median, unit, spread.worst, unit);
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : "/tmp";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const auto picture = folder / "pixtint-bench.bmp";
    const auto converted = folder / "pixtint-bench.converted";
    const auto copied = folder / "pixtint-bench.copy";

    const std::uint64_t matches = writePhoto(picture, From);
    const double megabytes = static_cast<double>(std::filesystem::file_size(picture)) / 1e6;
    std::printf("picture: %d x %d, %.1f MB, %llu pixels of the colour replaced, %d rounds\n",
                PhotoWidth, PhotoHeight, megabytes, static_cast<unsigned long long>(matches),
                rounds);

    const Measurement idle = inChild([] {});
    std::vector<double> engine, floor, ratio, engineCpu, floorCpu;
    long enginePeak = 0;
    long floorPeak = 0;
    for (int round = 0; round < rounds; ++round) {
        std::filesystem::remove(converted);
        std::filesystem::remove(copied);
        // Taken in turns, so that neither always runs on the other's dirty pages.
        const bool engineFirst = round % 2 == 0;
        Measurement conversion;
        if (engineFirst) {
            conversion = inChild([&] { convertInto(picture, converted); });
        }
        const Measurement copy = inChild([&] { streamingCopy(picture, copied); });
        if (!engineFirst) {
            conversion = inChild([&] { convertInto(picture, converted); });
        }
        std::printf("round %d: engine %.3f s (cpu %.3f s), floor %.3f s (cpu %.3f s), "
                    "ratio %.2f\n",
                    round + 1, conversion.seconds, conversion.cpuSeconds, copy.seconds,
                    copy.cpuSeconds, conversion.seconds / copy.seconds);
        engine.push_back(conversion.seconds);
        floor.push_back(copy.seconds);
        ratio.push_back(conversion.seconds / copy.seconds);
        engineCpu.push_back(conversion.cpuSeconds);
        floorCpu.push_back(copy.cpuSeconds);
        enginePeak = std::max(enginePeak, conversion.peakKiB);
        floorPeak = std::max(floorPeak, copy.peakKiB);
    }
    const bool right = resultIsRight(picture, converted);
    const Spread engineSpread = spreadOf(engine);
    const Spread floorSpread = spreadOf(floor);
    printSpread("engine (convertFile):", engineSpread, " s");
    printSpread("floor (copy):", floorSpread, " s");
    printSpread("ratio of each round:", spreadOf(ratio), "");
    printSpread("engine cpu:", spreadOf(engineCpu), " s");
    printSpread("floor cpu:", spreadOf(floorCpu), " s");
    std::printf("engine %.0f MB/s; best engine / best floor %.2f (goal <= %.1f)\n",
                megabytes / engineSpread.best, engineSpread.best / floorSpread.best, Goal);
    std::printf("peak memory: engine %.1f MiB, floor %.1f MiB, an idle child %.1f MiB; "
                "result %s\n",
                static_cast<double>(enginePeak) / 1024, static_cast<double>(floorPeak) / 1024,
                static_cast<double>(idle.peakKiB) / 1024, right ? "checked" : "WRONG");
    std::filesystem::remove(picture);
    std::filesystem::remove(converted);
    std::filesystem::remove(copied);
    return right ? 0 : 1;
}
