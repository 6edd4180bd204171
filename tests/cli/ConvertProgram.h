// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/TestFolder.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace pixtint {

struct ProgramResult {
    int exitStatus = -1; // -1 when it ended by a signal
    int signal = 0;
    std::string out;
    std::string err;
};

// The real pixtint-convert run as a child, its standard output and error caught in files, or
// both sent to `terminal` when one is given. Started through posix_spawn rather than fork,
// since the test process has threads.
class ConvertProgram {
public:
    explicit ConvertProgram(std::vector<std::string> arguments, const char* terminal = nullptr) {
        arguments.insert(arguments.begin(), PIXTINT_CONVERT);
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        for (const int stream : {1, 2}) {
            const auto path = streams_ / std::to_string(stream);
            posix_spawn_file_actions_addopen(&actions, stream, terminal ? terminal : path.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY, 0600);
        }
        const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) {
            throw std::runtime_error("cannot start pixtint-convert");
        }
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
            return {}; // sent to a terminal, or not written yet
        }
        const auto bytes = streams_.read(std::to_string(stream));
        return {bytes.begin(), bytes.end()};
    }
    ProgramResult wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                WIFSIGNALED(status) ? WTERMSIG(status) : 0, output(1), output(2)};
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

} // namespace pixtint
