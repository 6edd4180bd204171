// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
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

} // namespace pixtint
