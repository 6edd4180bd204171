#include "tests/cli/ConvertProgram.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace pixtint {

namespace {

// posix_spawn rather than fork: the test process has threads.
pid_t spawn(const std::vector<std::string>& arguments, const std::string& out,
            const std::string& err) {
    std::vector<char*> argv{const_cast<char*>(PIXTINT_CONVERT)};
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start pixtint-convert");
    }
    return pid;
}

} // namespace

ConvertProgram::ConvertProgram(const std::vector<std::string>& arguments)
    : pid_(spawn(arguments, (streams_ / "out").string(), (streams_ / "err").string())) {}

ConvertProgram::~ConvertProgram() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string ConvertProgram::outputSoFar() const {
    const auto bytes = streams_.read("out");
    return {bytes.begin(), bytes.end()};
}

ProgramResult ConvertProgram::wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    const auto err = streams_.read("err");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            WIFSIGNALED(status) ? WTERMSIG(status) : 0, outputSoFar(),
            std::string(err.begin(), err.end())};
}

} // namespace pixtint
