#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pixtint {

// What the command line says about one file, whichever command produced it.
enum class ReportStatus { Converted, Unchanged, Skipped, Failed, Restored };

struct FileReport {
    std::filesystem::path path;
    ReportStatus status = ReportStatus::Failed;
    std::optional<std::uint64_t> pixels; // converted and unchanged: pixels the walk replaced
    bool grown = false;                  // a 16 x 15 picture got its 16th row
    std::string reason;                  // skipped and failed: why
};

// How many files ended in each status, for the summary and the exit status.
struct Tally {
    std::uint64_t converted = 0;
    std::uint64_t unchanged = 0;
    std::uint64_t skipped = 0;
    std::uint64_t failed = 0;
    std::uint64_t restored = 0;

    void count(ReportStatus status);
};

} // namespace pixtint
