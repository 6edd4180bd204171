#pragma once

#include "cli/FileReport.h"
#include "cli/ProgressBar.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace pixtint {

struct ReportStyle {
    bool json = false;
    bool quiet = false; // no per-file lines; a failure is still told on standard error
    bool dryRun = false;
    bool progress = false; // standard error is a terminal
};

// Writes each file's report as it ends, in the style asked, and counts the statuses. Lines go
// to `out`; messages and the progress bar to `err`.
class ReportPrinter {
public:
    ReportPrinter(ReportStyle style, std::FILE* out, std::FILE* err, std::uint64_t total);

    void print(const FileReport& report);
    // The summary line of a text run.
    void finish();

    const Tally& tally() const { return tally_; }

private:
    ReportStyle style_;
    std::FILE* out_;
    std::FILE* err_;
    Tally tally_;
    std::optional<ProgressBar> progress_;
};

} // namespace pixtint
