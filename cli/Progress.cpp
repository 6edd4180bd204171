// SPDX-License-Identifier: MIT
#include "cli/Progress.h"

#include <string>

namespace pixtint {

namespace {

using namespace std::chrono_literals;

constexpr auto QuietStart = 500ms;
constexpr auto RedrawPeriod = 100ms;
constexpr std::uint64_t BarWidth = 30;

} // namespace

ProgressBar::ProgressBar(std::FILE* terminal, std::uint64_t total)
    : terminal_(terminal)
    , total_(total)
    , redrawing_([this](std::stop_token stop) { redrawUntilStopped(stop); }) {}

ProgressBar::~ProgressBar() {
    redrawing_.request_stop();
    redrawing_.join();
    clear();
}

void ProgressBar::advance() {
    const std::scoped_lock lock(mutex_);
    ++done_;
}

void ProgressBar::printAside(const std::function<void()>& write) {
    const std::scoped_lock lock(mutex_);
    const bool wasDrawn = drawn_;
    clear();
    write();
    if (wasDrawn) {
        draw();
    }
}

void ProgressBar::redrawUntilStopped(std::stop_token stop) {
    // Nothing wakes the thread but the stop: the waits are plain pauses that end early.
    const auto never = [] {
        return false;
    };
    std::unique_lock lock(mutex_);
    wakeUp_.wait_for(lock, stop, QuietStart, never);
    while (!stop.stop_requested()) {
        draw();
        wakeUp_.wait_for(lock, stop, RedrawPeriod, never);
    }
}

void ProgressBar::draw() {
    const std::uint64_t filled = total_ == 0 ? BarWidth : done_ * BarWidth / total_;
    const std::string bar = std::string(filled, '#') + std::string(BarWidth - filled, '-');
    std::fprintf(terminal_, "\r[%s] %llu/%llu files\033[K", bar.c_str(),
                 static_cast<unsigned long long>(done_), static_cast<unsigned long long>(total_));
    std::fflush(terminal_);
    drawn_ = true;
}

void ProgressBar::clear() {
    if (drawn_) {
        std::fputs("\r\033[K", terminal_);
        std::fflush(terminal_);
        drawn_ = false;
    }
}

} // namespace pixtint
