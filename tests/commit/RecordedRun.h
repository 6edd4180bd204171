// SPDX-License-Identifier: MIT
#pragma once

#include "commit/BatchRun.h"
#include "tests/support/BmpBytes.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace pixtint {

// The small blue picture the batch tests turn red, the red one it becomes, and a backup older
// than the run, which must survive every failure.
inline const std::vector<std::uint8_t> Original = makeBmp24(3, 2, {0, 0, 255});
inline const std::vector<std::uint8_t> Converted = makeBmp24(3, 2, {255, 0, 0});
inline const std::vector<std::uint8_t> OlderBackup = makeBmp24(1, 1, {9, 9, 9});

inline ConversionRequest blueToRed(bool keepBackup = true) {
    return {{{Rgb{0, 0, 255}, Rgb{255, 0, 0}}}, Growth::None, keepBackup};
}

// What a batch told of its run.
struct RecordedRun {
    std::vector<FileOutcome> outcomes;
    std::vector<Recovery> recoveries;
    bool finished = false;

    FileStatus status(std::size_t index) const { return outcomes.at(index).status; }
};

// Runs `files` through `run`; `meanwhile`, when given, runs between each picture's read and
// its commit.
inline RecordedRun record(BatchRun&& run, const std::vector<std::filesystem::path>& files,
                          const std::function<void()>& meanwhile = {}) {
    RecordedRun recorded;
    BatchCallbacks callbacks;
    callbacks.outcome = [&](const FileOutcome& outcome) {
        recorded.outcomes.push_back(outcome);
    };
    if (meanwhile) {
        callbacks.aboutToReplace = [&](std::size_t) {
            meanwhile();
        };
    }
    callbacks.recovered = [&](const Recovery& recovery) {
        recorded.recoveries.push_back(recovery);
    };
    recorded.finished = run.run(files, callbacks);
    return recorded;
}

} // namespace pixtint
