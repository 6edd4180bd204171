#include "cli/OutcomeReports.h"

#include "cli/ErrorReasons.h"

namespace pixtint {

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

} // namespace pixtint
