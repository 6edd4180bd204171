#include "cli/ReportPrinter.h"

#include "cli/ReportLines.h"

#include <string>

namespace pixtint {

namespace {

void putLine(std::FILE* stream, const std::string& line) {
    std::fputs(line.c_str(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

ReportPrinter::ReportPrinter(ReportStyle style, std::FILE* out, std::FILE* err, std::uint64_t total)
    : style_(style)
    , out_(out)
    , err_(err) {
    if (style.progress) {
        progress_.emplace(err, total);
    }
}

void ReportPrinter::print(const FileReport& report) {
    tally_.count(report.status);
    if (progress_) {
        progress_->advance();
    }
    std::FILE* stream = nullptr;
    std::string line;
    if (!style_.quiet) {
        stream = out_;
        line = style_.json ? jsonLine(report, style_.dryRun) : textLine(report, style_.dryRun);
    } else if (report.status == ReportStatus::Failed) {
        stream = err_;
        line = "pixtint-convert: " + report.path.string() + ": " + report.reason;
    }
    if (!stream) {
        return;
    }
    if (progress_) {
        progress_->printAside([&] { putLine(stream, line); });
    } else {
        putLine(stream, line);
    }
}

void ReportPrinter::finish() {
    progress_.reset();
    if (!style_.json) {
        putLine(out_, summaryLine(tally_, style_.dryRun));
    }
}

} // namespace pixtint
