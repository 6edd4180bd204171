#include "cli/Report.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>

namespace pixtint {

namespace {

struct NumberedReason {
    int number;
    std::string_view reason;
};

constexpr NumberedReason Reasons[] = {
    {ErrorNumber::InvalidArgument, "invalid picture width, or a name too short"},
    {ErrorNumber::Overflow, "a number in the file is out of range"},
    {ErrorNumber::OutOfMemory, "out of memory"},
    {ErrorNumber::SubscriptOutOfRange, "too short to hold a picture"},
    {ErrorNumber::DivisionByZero, "a number in the file is out of range"},
    {ErrorNumber::FileNotFound, "no such file"},
    {ErrorNumber::DeviceIoError, "input/output error"},
    {ErrorNumber::FileAlreadyExists, "a file of that name already exists"},
    {ErrorNumber::DiskFull, "no space left on the device"},
    {ErrorNumber::InputPastEndOfFile, "the file ends too early"},
    {ErrorNumber::PermissionDenied, "permission denied"},
    {ErrorNumber::PathFileAccessError, "not a regular file, or an invalid name"},
    {ErrorNumber::PathNotFound, "no such folder"},
    {ErrorNumber::InvalidPicture, "not a valid picture"},
};

} // namespace

std::string reasonFor(const AppError& error) {
    for (const auto& [number, reason] : Reasons) {
        if (number == error.number()) {
            return std::string(reason);
        }
    }
    return "error " + std::to_string(error.number());
}

namespace {

std::string reasonFor(const Error& error) {
    return error.reason();
}

std::string reasonFor(const FileFailure& failure) {
    const std::string cause = reasonFor(failure.error);
    switch (failure.kind) {
    case FileFailure::Kind::Conversion:
        return cause;
    case FileFailure::Kind::BackupBlocked:
        return "its backup cannot be written: " + cause;
    case FileFailure::Kind::BackupNameShared:
        return "its backup name is already taken by " + failure.otherPicture.string();
    case FileFailure::Kind::BackupNotPlaced:
        return "converted, but the original could not become the backup (" + cause +
               "); it is kept as " + failure.keptOriginal.string();
    }
    return cause;
}

} // namespace

FileReport reportOf(const FileOutcome& outcome) {
    FileReport report;
    report.path = outcome.path;
    switch (outcome.status) {
    case FileStatus::Converted:
    case FileStatus::Unchanged:
        report.status = outcome.status == FileStatus::Converted ? ReportStatus::Converted
                                                                : ReportStatus::Unchanged;
        report.pixels = outcome.result.pixelsChanged;
        report.grown = outcome.result.grown;
        break;
    case FileStatus::NotConvertible:
        report.status = ReportStatus::Skipped;
        report.reason = "not a 24-bit picture";
        break;
    case FileStatus::Failed:
        report.status = ReportStatus::Failed;
        report.reason = outcome.failure ? reasonFor(*outcome.failure) : "failed";
        break;
    }
    return report;
}

FileReport reportOf(const std::filesystem::path& picture, const RestoreOutcome& outcome) {
    FileReport report;
    report.path = picture;
    switch (outcome.status) {
    case RestoreStatus::Restored:
        report.status = ReportStatus::Restored;
        break;
    case RestoreStatus::NoBackup:
        report.status = ReportStatus::Skipped;
        report.reason = "no backup";
        break;
    case RestoreStatus::Failed:
        report.status = ReportStatus::Failed;
        report.reason = outcome.error ? reasonFor(*outcome.error) : "failed";
        if (!outcome.backup.empty()) {
            report.reason += " (backup " + outcome.backup.string() + ")";
        }
        break;
    }
    return report;
}

FileReport reportOfUnusable(const InputFile& input) {
    FileReport report;
    report.path = input.path;
    report.reason = input.problem ? reasonFor(*input.problem) : "cannot be used";
    return report;
}

void Tally::count(ReportStatus status) {
    switch (status) {
    case ReportStatus::Converted:
        ++converted;
        break;
    case ReportStatus::Unchanged:
        ++unchanged;
        break;
    case ReportStatus::Skipped:
        ++skipped;
        break;
    case ReportStatus::Failed:
        ++failed;
        break;
    case ReportStatus::Restored:
        ++restored;
        break;
    }
}

namespace {

// Wide enough for "would convert", so that the paths of a dry run line up too.
constexpr std::size_t StatusWidth = 13;

std::string_view statusWord(ReportStatus status) {
    switch (status) {
    case ReportStatus::Converted:
        return "converted";
    case ReportStatus::Unchanged:
        return "unchanged";
    case ReportStatus::Skipped:
        return "skipped";
    case ReportStatus::Failed:
        return "failed";
    case ReportStatus::Restored:
        return "restored";
    }
    return "failed";
}

std::string_view spokenStatus(ReportStatus status, bool dryRun) {
    if (dryRun && status == ReportStatus::Converted) {
        return "would convert";
    }
    if (dryRun && status == ReportStatus::Restored) {
        return "would restore";
    }
    return statusWord(status);
}

std::string details(const FileReport& report) {
    if (!report.reason.empty()) {
        return report.reason;
    }
    if (!report.pixels || report.status == ReportStatus::Unchanged) {
        return {};
    }
    std::string text =
        std::to_string(*report.pixels) + (*report.pixels == 1 ? " pixel" : " pixels");
    if (report.grown) {
        text += ", grown to 16 x 16";
    }
    return text;
}

} // namespace

std::string textLine(const FileReport& report, bool dryRun) {
    std::string line(spokenStatus(report.status, dryRun));
    line.resize(std::max(line.size(), StatusWidth), ' ');
    line += "  " + report.path.string();
    if (const auto more = details(report); !more.empty()) {
        line += "  (" + more + ")";
    }
    return line;
}

std::string jsonLine(const FileReport& report, bool dryRun) {
    nlohmann::ordered_json object;
    object["path"] = report.path.string();
    object["status"] = statusWord(report.status);
    if (report.pixels) {
        object["pixels"] = *report.pixels;
    }
    if (report.grown) {
        object["grown"] = true;
    }
    if (report.status == ReportStatus::Failed) {
        object["error"] = report.reason;
    }
    if (dryRun) {
        object["dry_run"] = true;
    }
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string summaryLine(const Tally& tally, bool dryRun, bool interrupted) {
    const std::pair<std::uint64_t, std::string_view> counts[] = {
        {tally.converted, dryRun ? "to convert" : "converted"},
        {tally.restored, dryRun ? "to restore" : "restored"},
        {tally.unchanged, "unchanged"},
        {tally.skipped, "skipped"},
        {tally.failed, "failed"},
    };
    std::string line;
    for (const auto& [count, word] : counts) {
        if (count > 0) {
            line += (line.empty() ? "" : ", ") + std::to_string(count) + " " + std::string(word);
        }
    }
    if (line.empty()) {
        line = "no files";
    }
    std::string notes = dryRun ? "dry run: nothing written" : "";
    if (interrupted) {
        notes += notes.empty() ? "interrupted" : "; interrupted";
    }
    return notes.empty() ? line : line + " (" + notes + ")";
}

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
    // A failure also goes to standard error, so that it reaches the user when the lines go to
    // a file or a pipe; not when they already went to the same terminal.
    const bool lineOnOutput = !style_.quiet;
    const bool toError =
        report.status == ReportStatus::Failed && !(lineOnOutput && style_.outputIsErrorTerminal);
    writeAside([&] {
        if (lineOnOutput) {
            putLine(out_, style_.json ? jsonLine(report, style_.dryRun)
                                      : textLine(report, style_.dryRun));
        }
        if (toError) {
            putLine(err_, "pixtint-convert: " + report.path.string() + ": " + report.reason);
        }
    });
}

void ReportPrinter::finish(bool interrupted) {
    progress_.reset();
    if (!style_.json) {
        putLine(out_, summaryLine(tally_, style_.dryRun, interrupted));
    } else if (interrupted) {
        putLine(err_, "pixtint-convert: interrupted; the files not listed were left as they were");
    }
}

void ReportPrinter::writeAside(const std::function<void()>& write) {
    if (progress_) {
        progress_->printAside(write);
    } else {
        write();
    }
}

} // namespace pixtint
