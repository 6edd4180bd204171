// SPDX-License-Identifier: MIT
#pragma once

#include "bench/Spread.h"

#include <cstdio>
#include <string>
#include <vector>

namespace pixtint {

// The figures a benchmark measured, printed together at its end: each as its rounds' best and
// median, beside a reference timed in the same rounds when it has one (the goal is then the
// most their ratio may be, and a reference shown for comparison only has none), or against a
// plain limit (the goal is then the most it may be).
class FigureTable {
public:
    void add(std::string what, const char* unit, std::vector<double> measured, double goal,
             std::string reference = {}, std::vector<double> referenceRounds = {}) {
        figures_.push_back({std::move(what), unit, std::move(measured), goal, std::move(reference),
                            std::move(referenceRounds)});
    }

    void print() const {
        std::printf("\n%-46s %-19s %-36s %-11s %s\n", "figure", "measured best/median",
                    "reference best/median", "ratio", "goal");
        for (const Figure& figure : figures_) {
            const Spread measured = spreadOf(figure.measured);
            std::printf("%-46s %7.3f / %7.3f %-2s ", figure.what.c_str(), measured.best,
                        measured.median, figure.unit);
            if (figure.referenceRounds.empty()) {
                std::printf("%-36s %-11s <= %g %s\n", "-", "-", figure.goal, figure.unit);
                continue;
            }
            const Spread reference = spreadOf(figure.referenceRounds);
            const std::string named = figure.reference + " " + number(reference.best) + " / " +
                                      number(reference.median) + " " + figure.unit;
            std::printf("%-36s %.2f/%.2f   ", named.c_str(), measured.best / reference.best,
                        measured.median / reference.median);
            if (figure.goal > 0) {
                std::printf("<= %gx\n", figure.goal);
            } else {
                std::printf("-\n");
            }
        }
        std::fflush(stdout);
    }

private:
    struct Figure {
        std::string what;
        const char* unit;
        std::vector<double> measured;
        double goal;
        std::string reference;
        std::vector<double> referenceRounds;
    };

    static std::string number(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", value);
        return text;
    }

    std::vector<Figure> figures_;
};

} // namespace pixtint
