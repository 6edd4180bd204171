// SPDX-License-Identifier: MIT
#include "cli/Run.h"

#include "cli/InputFiles.h"
#include "cli/Report.h"
#include "commit/BackupRestore.h"
#include "commit/BatchRun.h"

#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pixtint {

namespace {

namespace fs = std::filesystem;

volatile std::sig_atomic_t stopAsked = 0;

extern "C" void askStop(int) {
    stopAsked = 1;
}

bool stopSignalled() {
    return stopAsked != 0;
}

// Both streams on one terminal: a line written to either is seen once.
bool sameTerminal(std::FILE* a, std::FILE* b) {
    struct stat first {
    }, second{};
    return ::isatty(::fileno(a)) == 1 && ::isatty(::fileno(b)) == 1 &&
           ::fstat(::fileno(a), &first) == 0 && ::fstat(::fileno(b), &second) == 0 &&
           first.st_rdev == second.st_rdev;
}

unsigned jobsFor(const CliOptions& options) {
    return options.jobs > 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
}

// The inputs' reports in the order of the arguments, and of the names within each folder: a
// path that cannot be used, or a folder skipped, is reported just before the next file, whose
// outcome may come long after a batch has started.
class ReportsInOrder {
public:
    ReportsInOrder(const std::vector<InputFile>& inputs, ReportPrinter& printer)
        : inputs_(inputs)
        , printer_(printer) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (isFile(inputs[i])) {
                files_.push_back(inputs[i].path);
                positions_.push_back(i);
            }
        }
    }

    const std::vector<fs::path>& files() const { return files_; }

    // The `index`-th file's report, after those of the unusable inputs before it.
    void printFile(std::size_t index, const FileReport& report) {
        printUnusableUpTo(positions_[index]);
        next_ = positions_[index] + 1;
        printer_.print(report);
    }

    void printRest() { printUnusableUpTo(inputs_.size()); }

private:
    static bool isFile(const InputFile& input) { return !input.problem && !input.isFolder; }

    void printUnusableUpTo(std::size_t end) {
        for (; next_ < end; ++next_) {
            if (!isFile(inputs_[next_])) {
                printer_.print(reportOfUnusable(inputs_[next_]));
            }
        }
    }

    const std::vector<InputFile>& inputs_;
    ReportPrinter& printer_;
    std::vector<fs::path> files_;
    std::vector<std::size_t> positions_; // of each file among the inputs
    std::size_t next_ = 0;               // the first input not reported yet
};

// Answers false when stopped before the last file.
bool convertAll(ReportsInOrder& reports, const CliOptions& options, ReportPrinter& printer) {
    BatchRun run(options.request, {.dryRun = options.dryRun,
                                   .requireSignature = true,
                                   .jobs = jobsFor(options),
                                   .groupFiles = groupFilesForThisProcess()});
    return run.run(reports.files(),
                   {.outcome =
                        [&](const FileOutcome& outcome) {
                            reports.printFile(outcome.index,
                                              reportOf(outcome, options.request.pairs));
                        },
                    .aboutToReplace = {},
                    .stopRequested = stopSignalled,
                    .recovered =
                        [&](const Recovery& found) {
                            printer.print(reportOf(found));
                        }});
}

bool restoreAll(ReportsInOrder& reports, const CliOptions& options, ReportPrinter& printer) {
    BackupRestore restore({.dryRun = options.dryRun});
    std::size_t next = 0; // the pictures' outcomes come in their order
    return restore.restore(reports.files(),
                           {.outcome =
                                [&](const fs::path& file, const RestoreOutcome& outcome) {
                                    reports.printFile(next++, reportOf(file, outcome));
                                },
                            .stopRequested = stopSignalled,
                            .recovered =
                                [&](const Recovery& found) {
                                    printer.print(reportOf(found));
                                }});
}

} // namespace

#ifdef _WIN32
namespace {

// Ctrl+C, Ctrl+Break or the console closing: the first asks the run to stop after the file
// in hand; a second one takes Windows' default course and ends the program, as on Linux.
BOOL WINAPI askStopFromConsole(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        if (stopAsked != 0) {
            return FALSE;
        }
        stopAsked = 1;
        return TRUE;
    }
    return FALSE;
}

} // namespace

void catchStopSignals() {
    ::SetConsoleCtrlHandler(askStopFromConsole, TRUE);
}
#else
void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = askStop;
    action.sa_flags = SA_RESETHAND; // the second signal takes its default course
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
#endif

int runCommand(const CliOptions& options, std::FILE* out, std::FILE* err) {
    const auto inputs = collectInputFiles(options.paths, options.recursive);
    ReportPrinter printer({.json = options.json,
                           .quiet = options.quiet,
                           .dryRun = options.dryRun,
                           .progress = ::isatty(::fileno(err)) == 1,
                           .outputIsErrorTerminal = sameTerminal(out, err)},
                          out, err, inputs.size());
    ReportsInOrder reports(inputs, printer);
    const bool finished = options.restore ? restoreAll(reports, options, printer)
                                          : convertAll(reports, options, printer);
    reports.printRest();
    printer.finish(!finished);
    if (!finished) {
        return ExitStatus::Interrupted;
    }
    return printer.tally().failed > 0 ? ExitStatus::FileFailed : ExitStatus::Success;
}

} // namespace pixtint
