// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>

namespace pixtint {

// A bar on a terminal showing how many files are done. It appears only once the run has
// lasted about half a second, so quick runs print nothing, and it is redrawn by a thread of
// its own, so that it moves on while one large picture is being converted.
class ProgressBar {
public:
    ProgressBar(std::FILE* terminal, std::uint64_t total);
    ~ProgressBar(); // the bar is cleared away
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void advance();

    // Runs `write` with the bar off the line, so that text written to the same terminal
    // does not land in the middle of it.
    void printAside(const std::function<void()>& write);

private:
    void redrawUntilStopped(std::stop_token stop);
    void draw();
    void clear();

    std::FILE* terminal_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    bool drawn_ = false;
    std::mutex mutex_;
    std::condition_variable_any wakeUp_;
    std::jthread redrawing_; // last: it uses everything above
};

} // namespace pixtint
