// SPDX-License-Identifier: MIT
#include "bench/ChildProcess.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace pixtint {

namespace {

[[noreturn]] void failed(const std::string& command) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
}

} // namespace

std::string shellQuoted(const std::filesystem::path& path) {
    std::string quoted = "'";
    for (const char c : path.string()) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::filesystem::path benchProgram(const std::string& name) {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

std::string outputOf(const std::string& command) {
    const auto closer = [](std::FILE* pipe) {
        return ::pclose(pipe);
    };
    std::unique_ptr<std::FILE, decltype(closer)> pipe(::popen(command.c_str(), "r"), closer);
    if (!pipe) {
        failed(command);
    }
    std::string output;
    std::array<char, 4096> buffer{};
    while (const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
        output.append(buffer.data(), count);
    }
    if (::pclose(pipe.release()) != 0) {
        failed(command);
    }
    return output;
}

double secondsOf(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        failed(command);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double durableFloorSeconds(const std::filesystem::path& folder) {
    const std::string command =
        shellQuoted(benchProgram("bench_durable_floor")) + " " + shellQuoted(folder);
    return std::stod(outputOf(command));
}

} // namespace pixtint
