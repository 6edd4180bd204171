#include "cli/ReportLines.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>

namespace pixtint {

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

std::string summaryLine(const Tally& tally, bool dryRun) {
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
    return dryRun ? line + " (dry run: nothing written)" : line;
}

} // namespace pixtint
