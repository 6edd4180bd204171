// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/SpawnedProgram.h"
#include "tests/support/TestFolder.h"

#include <csignal>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace pixtint {

struct ProgramResult {
    int exitStatus = -1; // -1 when it ended by a signal
    std::string out;
    std::string err;
};

// The real pixtint-convert run as a child, its standard output and error caught in files.
class ConvertProgram {
public:
    explicit ConvertProgram(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), PIXTINT_CONVERT);
        pid_ =
            spawnProgram(std::move(arguments), (streams_ / "1").c_str(), (streams_ / "2").c_str());
    }
    ~ConvertProgram() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ConvertProgram(const ConvertProgram&) = delete;
    ConvertProgram& operator=(const ConvertProgram&) = delete;

    pid_t pid() const { return pid_; }
    std::string output(int stream = 1) const {
        if (!std::filesystem::exists(streams_ / std::to_string(stream))) {
            return {}; // not written yet
        }
        const auto bytes = streams_.read(std::to_string(stream));
        return {bytes.begin(), bytes.end()};
    }
    ProgramResult wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output(1), output(2)};
    }

private:
    TestFolder streams_;
    pid_t pid_ = -1;
};

inline ProgramResult runConvert(const std::vector<std::string>& arguments) {
    return ConvertProgram(arguments).wait();
}

inline std::vector<std::string> with(std::vector<std::string> arguments,
                                     const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A report as a test writes it out, with DIR standing for the folder the test works in, and
// PLAIN and EIGHT for the commonest kinds of picture.
inline std::string report(const std::string& dir, std::string text) {
    for (const auto& [name, value] :
         {std::pair<std::string, std::string>{"PLAIN", "24-bit, Windows 3 header, uncompressed"},
          {"EIGHT", "8-bit, Windows 3 header, uncompressed"},
          {"DIR", dir}}) { // last: the folder's own name is never read as a word
        for (auto at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
            text.replace(at, name.size(), value);
            at += value.size();
        }
    }
    return text;
}

} // namespace pixtint
