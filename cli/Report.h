// SPDX-License-Identifier: MIT
#pragma once

#include "cli/InputFiles.h"
#include "cli/Progress.h"
#include "commit/BackupRestore.h"
#include "commit/BatchRun.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixtint {

// What the command line says about one file, whichever command produced it.
enum class ReportStatus { Converted, Unchanged, Skipped, Failed, Restored, Recovered };

// What the walk did for one colour pair of the request.
struct PairReport {
    ColourPair pair;
    PairCounts counts;
};

struct FileReport {
    std::filesystem::path path;
    ReportStatus status = ReportStatus::Failed;
    std::optional<std::uint64_t> pixelsChanged; // converted and unchanged: pixels the walk replaced
    bool grown = false;                         // a 16 x 15 picture got its 16th row
    std::string reason;                         // skipped and failed: why
    // Converted and unchanged: what kind of picture, and what each pair did.
    std::optional<PictureFormat> format;
    bool palette = false; // the counts include palette entries
    std::uint64_t entriesChanged = 0;
    std::uint64_t nearMisses = 0;
    std::vector<PairReport> pairs;
    std::string notGrown; // why a 16 x 15 picture asked to grow was not
    // Converted: the kind the picture becomes when that is not its own.
    std::optional<PictureFormat> newFormat;
};

// The report of each kind of ending a file can have. `pairs` are the request's, in order.
FileReport reportOf(const FileOutcome& outcome, const std::vector<ColourPair>& pairs = {});
FileReport reportOf(const std::filesystem::path& picture, const RestoreOutcome& outcome);
FileReport reportOfUnusable(const InputFile& input);
// An original an interrupted run left held: recovered, or, when it cannot be put in place,
// failed with the reason and where it is.
FileReport reportOf(const Recovery& recovery);

// How many files ended in each status, for the summary and the exit status.
struct Tally {
    std::size_t converted = 0;
    std::size_t unchanged = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
    std::size_t restored = 0;
    std::size_t recovered = 0;

    void count(ReportStatus status);
};

// The per-file lines and the summary, without their line ends. A dry run reports the same
// outcomes in the conditional ("would convert").

// "converted  icons/a.bmp  (24-bit, V5 header, uncompressed; 37 pixels; 2 near misses)"; a
// picture that changes kind says so: "(24-bit, ...; 24-bit → 32-bit with alpha; 37 pixels)".
std::string textLine(const FileReport& report, bool dryRun);

// {"path":"icons/a.bmp","status":"converted","bits":24,...,"pixels":37,"pairs":[...]}; a
// skipped file has its "reason", a failed one its "error"; a name that is not valid UTF-8
// has its stray bytes replaced by U+FFFD, so every line stays valid JSON. A dry run's
// statuses are "would_convert", "would_restore" and "would_recover".
std::string jsonLine(const FileReport& report, bool dryRun);

// `text` with what would break or turn a line on a terminal escaped as JSON escapes it: a
// line end as \n, other control characters and the bidirectional formatting characters as
// \uXXXX, a backslash as \\, and each byte that is not valid UTF-8 as \xNN.
std::string printableText(std::string_view text);

// "3 converted, 1 skipped" or, for a dry run, "3 to convert, 1 skipped (dry run: nothing
// written)"; a run stopped by a signal adds "interrupted" to the notes in brackets.
std::string summaryLine(const Tally& tally, bool dryRun, bool interrupted);

struct ReportStyle {
    bool json = false;
    bool quiet = false; // no per-file lines
    bool dryRun = false;
    bool progress = false;              // standard error is a terminal
    bool outputIsErrorTerminal = false; // standard output and error are one terminal
};

// Writes each file's report as it ends, in the style asked, and counts the statuses. Lines go
// to `out`; messages, each failure with its reason and the progress bar to `err`.
class ReportPrinter {
public:
    ReportPrinter(ReportStyle style, std::FILE* out, std::FILE* err, std::uint64_t total);

    void print(const FileReport& report);
    // The summary line of a text run; a JSON run says on `err` when it was interrupted.
    void finish(bool interrupted);

    const Tally& tally() const { return tally_; }

private:
    // Writes with the progress bar, if any, off the line.
    void writeAside(const std::function<void()>& write);

    ReportStyle style_;
    std::FILE* out_;
    std::FILE* err_;
    Tally tally_;
    std::optional<ProgressBar> progress_;
};

} // namespace pixtint
