// Times ReplaceColor on an 8000 x 6000 picture against the floor for the same work: a
// streaming copy of the file through a 1 MiB buffer into a new file. Neither flushes its output
// to disk (the engine's temporary file is scratch until the batch puts it in place), so the
// ratio shows what the walk itself costs. Each measured run happens in a child process whose
// peak memory is its own.
//
// Usage: bench_replace_color [folder] [runs]
#include "engine/BitmapRecolor.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

constexpr std::int32_t Width = 8000;
constexpr std::int32_t Height = 6000;
constexpr std::size_t BufferSize = std::size_t{1} << 20;
constexpr Rgb Before{0xC0, 0xC0, 0xC0};
constexpr Rgb After{0xFF, 0x00, 0xFF};
constexpr double MatchingShare = 0.10;

struct Measurement {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
};

void putLittleEndian(std::vector<char>& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
    }
}

std::vector<char> header(std::uint32_t pixelBytes) {
    std::vector<char> bytes(54, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian(bytes, 2, 54 + pixelBytes);
    putLittleEndian(bytes, 10, 54);
    putLittleEndian(bytes, 14, 40);
    putLittleEndian(bytes, 18, Width);
    putLittleEndian(bytes, 22, Height);
    bytes[26] = 1;
    bytes[28] = 24;
    putLittleEndian(bytes, 34, pixelBytes);
    return bytes;
}

// Random colours, a tenth of them the before colour, from a fixed seed. Answers how many
// pixels have the before colour.
std::uint64_t writePicture(const std::filesystem::path& path) {
    const std::uint32_t rowBytes = Width * 3; // a multiple of 4: no padding
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const auto head = header(rowBytes * Height);
    file.write(head.data(), static_cast<std::streamsize>(head.size()));
    std::mt19937 random(20240601);
    std::bernoulli_distribution matching(MatchingShare);
    std::vector<char> row(rowBytes);
    std::uint64_t matches = 0;
    for (std::int32_t y = 0; y < Height; ++y) {
        for (std::uint32_t x = 0; x < rowBytes; x += 3) {
            Rgb colour =
                matching(random) ? Before : Rgb{0x10, 0x20, static_cast<std::uint8_t>(random())};
            matches += colour == Before;
            row[x] = static_cast<char>(colour.blue);
            row[x + 1] = static_cast<char>(colour.green);
            row[x + 2] = static_cast<char>(colour.red);
        }
        file.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    if (!file.flush()) {
        std::perror("writing the picture");
        std::exit(1);
    }
    return matches;
}

void fail(const char* what) {
    std::perror(what);
    std::_Exit(2);
}

void streamingCopy(const std::filesystem::path& source, const std::filesystem::path& target) {
    const int input = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    const int output = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (input < 0 || output < 0) {
        fail("open");
    }
    std::vector<char> buffer(BufferSize);
    for (ssize_t count; (count = ::read(input, buffer.data(), buffer.size())) > 0;) {
        if (::write(output, buffer.data(), static_cast<std::size_t>(count)) != count) {
            fail("write");
        }
    }
    if (::close(output) != 0) {
        fail("close");
    }
    ::close(input);
}

Measurement inChild(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        work();
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

// Every before pixel became the after colour, and nothing else did.
bool resultIsRight(const std::filesystem::path& result, std::uint64_t expectedMatches) {
    std::ifstream file(result, std::ios::binary);
    file.ignore(54);
    std::vector<char> row(Width * 3);
    std::uint64_t after = 0;
    std::uint64_t before = 0;
    while (file.read(row.data(), static_cast<std::streamsize>(row.size()))) {
        for (std::size_t x = 0; x < row.size(); x += 3) {
            const Rgb colour{static_cast<std::uint8_t>(row[x + 2]),
                             static_cast<std::uint8_t>(row[x + 1]),
                             static_cast<std::uint8_t>(row[x])};
            after += colour == After;
            before += colour == Before;
        }
    }
    return after == expectedMatches && before == 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : "/tmp";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const auto picture = folder / "pixtint-bench.bmp";
    const auto temporary = TemporaryPathFor(picture);
    const auto floorCopy = folder / "pixtint-bench.copy";

    const std::uint64_t matches = writePicture(picture);
    const double megabytes = static_cast<double>(std::filesystem::file_size(picture)) / 1e6;
    std::printf("picture: %d x %d, %.1f MB, %llu before pixels, %d runs\n", Width, Height,
                megabytes, static_cast<unsigned long long>(matches), runs);

    const Measurement idle = inChild([] {});
    std::vector<double> engine, floor, ratio, cpu, floorCpu, peak;
    for (int run = 0; run < runs; ++run) {
        std::filesystem::remove(temporary);
        std::filesystem::remove(floorCopy);
        const Measurement copied = inChild([&] { streamingCopy(picture, floorCopy); });
        const Measurement replaced = inChild([&] { ReplaceColor(picture, Width, Before, After); });
        std::printf("run %d: engine %.3f s (cpu %.3f s, peak %ld KiB), floor %.3f s (cpu %.3f s)\n",
                    run + 1, replaced.seconds, replaced.cpuSeconds, replaced.peakKiB,
                    copied.seconds, copied.cpuSeconds);
        engine.push_back(replaced.seconds);
        floor.push_back(copied.seconds);
        ratio.push_back(replaced.seconds / copied.seconds);
        cpu.push_back(replaced.cpuSeconds);
        floorCpu.push_back(copied.cpuSeconds);
        peak.push_back(static_cast<double>(replaced.peakKiB));
    }
    const bool right = resultIsRight(temporary, matches);
    std::printf("median: engine %.3f s (%.0f MB/s, cpu %.3f s), floor %.3f s (cpu %.3f s), "
                "ratio %.2f\n",
                median(engine), megabytes / median(engine), median(cpu), median(floor),
                median(floorCpu), median(ratio));
    std::printf("engine peak memory %.1f MiB (an idle child: %.1f MiB); result %s\n",
                median(peak) / 1024, static_cast<double>(idle.peakKiB) / 1024,
                right ? "checked" : "WRONG");
    std::filesystem::remove(picture);
    std::filesystem::remove(temporary);
    std::filesystem::remove(floorCopy);
    return right ? 0 : 1;
}
