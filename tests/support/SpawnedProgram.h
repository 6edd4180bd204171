// SPDX-License-Identifier: MIT
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <unistd.h> // environ
#include <vector>

namespace pixtint {

// Starts `arguments` (the program's path first) as a child, its input /dev/null, and its
// output and error written to the files named (made or emptied), or this process's own where
// nullptr. Through posix_spawn rather than fork, since the caller may have threads. Answers the
// child's process ID; throws std::runtime_error when it cannot start.
inline pid_t spawnProgram(std::vector<std::string> arguments, const char* out, const char* err) {
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const char* const streams[] = {nullptr, out, err};
    for (const int stream : {1, 2}) {
        if (streams[stream]) {
            posix_spawn_file_actions_addopen(&actions, stream, streams[stream],
                                             O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY, 0600);
        }
    }
    pid_t child = -1;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    return child;
}

} // namespace pixtint
