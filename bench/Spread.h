// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace pixtint {

// The rounds of one measurement on a noisy machine: the best is the figure, the median and
// the worst show how much the machine disturbed it.
struct Spread {
    double best = 0;
    double median = 0;
    double worst = 0;
};

inline Spread spreadOf(std::vector<double> rounds) {
    if (rounds.empty()) {
        return {};
    }
    std::sort(rounds.begin(), rounds.end());
    return {rounds.front(), rounds[rounds.size() / 2], rounds.back()};
}

// Runs `first` and `second` in turn, `second` first every other round, so that neither always
// follows what the other left to the disk.
inline void inTurns(int round, const std::function<void()>& first,
                    const std::function<void()>& second) {
    if (round % 2 == 0) {
        first();
        second();
    } else {
        second();
        first();
    }
}

// Prints pixtint-convert's rounds against a reference's, and the best against the best.
inline void report(const char* what, const std::vector<double>& ours, const char* reference,
                   const std::vector<double>& theirs, double goal) {
    const Spread a = spreadOf(ours);
    const Spread b = spreadOf(theirs);
    std::printf("%s\n  pixtint-convert  best %.3f s, median %.3f s, worst %.3f s\n"
                "  %-16s best %.3f s, median %.3f s, worst %.3f s\n"
                "  best / best %.2f (goal <= %.2f)\n",
                what, a.best, a.median, a.worst, reference, b.best, b.median, b.worst,
                a.best / b.best, goal);
    std::fflush(stdout);
}

} // namespace pixtint
