// SPDX-License-Identifier: MIT
#include "cli/Report.h"

#include "engine/PathText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>

namespace pixtint {

namespace {

// The system's own words for a failed call; a name that is not a backup, named.
std::string reasonFor(const Error& error) {
    if (error.kind() == ErrorKind::NotABackup) {
        return textOf(error.path().filename()) + " is not a backup";
    }
    return error.reason();
}

// "folder ro is read-only", "no permission to write in folder ro"
std::string folderReason(const Error& error) {
    const std::string folder = "folder " + textOf(error.path());
    switch (error.kind() == ErrorKind::System ? error.systemError() : 0) {
    case EROFS:
        return folder + " is read-only";
    case EACCES:
    case EPERM:
        return "no permission to write in " + folder;
    default:
        return "cannot write in " + folder + ": " + reasonFor(error);
    }
}

// Where a picture changed during the run left what the user may want back.
std::string whereKept(const FileFailure& failure) {
    std::string text;
    if (!failure.otherSave.empty()) {
        text += "; the other program's save is kept as " + textOf(failure.otherSave);
    }
    if (!failure.keptOriginal.empty()) {
        text += "; the original is kept as " + textOf(failure.keptOriginal);
    }
    return text;
}

std::string reasonFor(const FileFailure& failure) {
    const std::string cause = reasonFor(failure.error);
    switch (failure.kind) {
    case FileFailure::Kind::Conversion:
        return cause + whereKept(failure);
    case FileFailure::Kind::BackupBlocked:
        return failure.error.kind() == ErrorKind::NotABackup
                   ? cause
                   : "its backup cannot be written: " + cause;
    case FileFailure::Kind::BackupNameShared:
        return "its backup name " + textOf(failure.error.path().filename()) + " is also that of " +
               textOf(failure.otherPicture);
    case FileFailure::Kind::FolderNotWritable:
        return folderReason(failure.error);
    case FileFailure::Kind::BackupNotPlaced:
        return "converted, but the original could not become the backup (" + cause +
               "); it is kept as " + textOf(failure.keptOriginal);
    }
    return cause;
}

} // namespace

namespace {

void describeResult(FileReport& report, const ConversionResult& result,
                    const std::vector<ColourPair>& pairs) {
    report.pixelsChanged = result.counts.pixelsChanged();
    report.grown = result.grown;
    report.notGrown = result.notGrown;
    if (result.format.bitsPerPixel == 0) {
        return; // no picture was read
    }
    report.format = result.format;
    report.palette = result.format.bitsPerPixel <= 8;
    report.entriesChanged = result.counts.entriesChanged();
    report.nearMisses = result.counts.nearMisses();
    if (result.newFormat && report.status == ReportStatus::Converted) {
        report.newFormat = result.newFormat;
        report.palette = false; // its pixels change, not its colour table
    }
    for (std::size_t i = 0; i < pairs.size() && i < result.counts.pairs.size(); ++i) {
        report.pairs.push_back({pairs[i], result.counts.pairs[i]});
    }
}

} // namespace

FileReport reportOf(const FileOutcome& outcome, const std::vector<ColourPair>& pairs) {
    FileReport report;
    report.path = outcome.path;
    switch (outcome.status) {
    case FileStatus::Converted:
    case FileStatus::Unchanged:
        report.status = outcome.status == FileStatus::Converted ? ReportStatus::Converted
                                                                : ReportStatus::Unchanged;
        describeResult(report, outcome.result, pairs);
        break;
    case FileStatus::Skipped:
        report.status = ReportStatus::Skipped;
        report.reason =
            outcome.skipReason.empty() ? "not a picture it converts" : outcome.skipReason;
        break;
    case FileStatus::Failed:
        report.status = ReportStatus::Failed;
        report.reason = outcome.failure ? reasonFor(*outcome.failure) : "failed";
        if (outcome.failure && outcome.failure->error.kind() == ErrorKind::InvalidWidth) {
            // A header without a width is a damaged header like any other: skipped.
            report.status = ReportStatus::Skipped;
        }
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
    case RestoreStatus::NotABackup:
        report.status = ReportStatus::Skipped;
        report.reason = outcome.error ? reasonFor(*outcome.error) : "not a backup";
        break;
    case RestoreStatus::Failed:
        report.status = ReportStatus::Failed;
        report.reason = outcome.error ? reasonFor(*outcome.error) : "failed";
        if (!outcome.backup.empty()) {
            report.reason += " (backup " + textOf(outcome.backup) + ")";
        }
        break;
    case RestoreStatus::FolderNotWritable:
        report.status = ReportStatus::Failed;
        report.reason = outcome.error ? folderReason(*outcome.error) : "failed";
        break;
    case RestoreStatus::NotFlushed:
        report.status = ReportStatus::Failed;
        report.reason = (outcome.error ? reasonFor(*outcome.error) : "failed") +
                        " on flushing its folder: put back, but may not be restored on disk";
        break;
    }
    return report;
}

FileReport reportOfUnusable(const InputFile& input) {
    FileReport report;
    report.path = input.path;
    if (input.isFolder) {
        report.status = ReportStatus::Skipped;
        report.reason = "a folder";
        return report;
    }
    report.reason = input.problem ? reasonFor(*input.problem) : "cannot be used";
    return report;
}

FileReport reportOf(const Recovery& recovery) {
    FileReport report;
    switch (recovery.action) {
    case Recovery::Action::Removed:
        report.status = ReportStatus::Recovered;
        report.path = recovery.held;
        report.reason = "a name an interrupted run held an original by; the original keeps its "
                        "own name";
        break;
    case Recovery::Action::MadeBackup:
        report.status = ReportStatus::Recovered;
        report.path = recovery.backup;
        report.reason = "the original an interrupted run held as " + textOf(recovery.held);
        break;
    case Recovery::Action::Kept:
        report.status = ReportStatus::Failed;
        report.path = recovery.held;
        report.reason = "an original an interrupted run held; it stays here, as " +
                        (recovery.reason ? reasonFor(*recovery.reason) : "it cannot be moved");
        break;
    case Recovery::Action::LeftForOwner:
        report.status = ReportStatus::Skipped;
        report.path = recovery.held;
        report.reason = std::to_string(recovery.count) +
                        (recovery.count == 1 ? " leftover" : " leftovers") +
                        " of another user's interrupted run, left for that user";
        break;
    }
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
    case ReportStatus::Recovered:
        ++recovered;
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
    case ReportStatus::Recovered:
        return "recovered";
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
    if (dryRun && status == ReportStatus::Recovered) {
        return "would recover";
    }
    return statusWord(status);
}

// The same as one word, for a script to compare: "would_convert".
std::string jsonStatus(ReportStatus status, bool dryRun) {
    std::string word(spokenStatus(status, dryRun));
    std::replace(word.begin(), word.end(), ' ', '_');
    return word;
}

// Formatting characters that turn the text around them: the bidirectional marks, embeddings,
// overrides and isolates, and the line and paragraph separators.
bool turnsText(char32_t code) {
    return code == 0x061C || code == 0x200E || code == 0x200F ||
           (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

// The code point of the UTF-8 sequence at the start of `text` and its length, or a length
// of 0 when it is no valid sequence.
std::pair<char32_t, std::size_t> decodeUtf8(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80       ? 1
                               : lead >> 5 == 6  ? 2
                               : lead >> 4 == 14 ? 3
                               : lead >> 3 == 30 ? 4
                                                 : 0;
    if (length == 0 || length > text.size()) {
        return {0, 0};
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if (next >> 6 != 2) {
            return {0, 0};
        }
        code = code << 6 | (next & 0x3F);
    }
    constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {0, 0};
    }
    return {code, length};
}

std::string escaped(char32_t code) {
    char text[12];
    std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(code));
    return text;
}

} // namespace

std::string printableText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        const auto [code, length] = decodeUtf8(text);
        if (length == 0) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "\\x%02x", static_cast<unsigned char>(text[0]));
            shown += byte;
            text.remove_prefix(1);
            continue;
        }
        if (code == '\\') {
            shown += "\\\\";
        } else if (code == '\n') {
            shown += "\\n";
        } else if (code == '\t') {
            shown += "\\t";
        } else if (code == '\r') {
            shown += "\\r";
        } else if (code < 0x20 || (code >= 0x7F && code < 0xA0) || turnsText(code)) {
            shown += escaped(code);
        } else {
            shown.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return shown;
}

namespace {

std::string counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string hexColour(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

// "24-bit, V5 header, uncompressed"
std::string formatText(const PictureFormat& format) {
    return std::to_string(format.bitsPerPixel) + "-bit, " + format.header + " header, " +
           (format.compression == "none" ? std::string("uncompressed") : format.compression);
}

// "24-bit", "8-bit RLE8", "32-bit with alpha"
std::string kindText(const PictureFormat& format) {
    std::string text = std::to_string(format.bitsPerPixel) + "-bit";
    if (format.compression == "RLE4" || format.compression == "RLE8") {
        text += " " + format.compression;
    }
    if (format.bitsPerPixel == 32) {
        text += format.alpha ? " with alpha" : " without alpha";
    }
    return text;
}

// "24-bit → 32-bit with alpha"
std::string kindChangeText(const FileReport& report) {
    return kindText(*report.format) + " \u2192 " + kindText(*report.newFormat);
}

std::string targetText(const ColourPair& pair) {
    return pair.transparent ? "transparent" : hexColour(pair.to);
}

// "240 pixels in 2 entries (#ff00ff: 237, #808080: 3)"
std::string changesText(const FileReport& report) {
    std::string text = counted(*report.pixelsChanged, "pixel", "pixels");
    if (report.palette) {
        text += " in " + counted(report.entriesChanged, "entry", "entries");
    }
    if (report.pairs.size() > 1) {
        std::string each;
        for (const auto& [pair, counts] : report.pairs) {
            each += (each.empty() ? "" : ", ") + hexColour(pair.from) + ": " +
                    std::to_string(counts.pixelsChanged);
        }
        text += " (" + each + ")";
    }
    return text;
}

std::string details(const FileReport& report) {
    if (!report.reason.empty()) {
        return report.reason;
    }
    std::vector<std::string> parts;
    if (report.format) {
        parts.push_back(formatText(*report.format));
    }
    if (report.format && report.newFormat) {
        parts.push_back(kindChangeText(report));
    }
    if (report.pixelsChanged && report.status != ReportStatus::Unchanged) {
        parts.push_back(changesText(report));
    }
    if (report.nearMisses > 0) {
        parts.push_back(counted(report.nearMisses, "near miss", "near misses"));
    }
    if (report.grown) {
        parts.push_back("grown to 16 x 16");
    } else if (!report.notGrown.empty()) {
        parts.push_back("not grown: " + report.notGrown);
    }
    std::string text;
    for (const auto& part : parts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

nlohmann::ordered_json pairsJson(const FileReport& report) {
    nlohmann::ordered_json pairs = nlohmann::ordered_json::array();
    for (const auto& [pair, counts] : report.pairs) {
        nlohmann::ordered_json object;
        object["from"] = hexColour(pair.from);
        object["to"] = targetText(pair);
        object["pixels"] = counts.pixelsChanged;
        if (report.palette) {
            object["entries"] = counts.entriesChanged;
        }
        object["near_misses"] = counts.nearMisses;
        pairs.push_back(std::move(object));
    }
    return pairs;
}

} // namespace

std::string textLine(const FileReport& report, bool dryRun) {
    std::string line(spokenStatus(report.status, dryRun));
    line.resize(std::max(line.size(), StatusWidth), ' ');
    line += "  " + textOf(report.path);
    if (const auto more = details(report); !more.empty()) {
        line += "  (" + more + ")";
    }
    return printableText(line);
}

std::string jsonLine(const FileReport& report, bool dryRun) {
    nlohmann::ordered_json object;
    object["path"] = textOf(report.path);
    object["status"] = jsonStatus(report.status, dryRun);
    if (report.format) {
        object["bits"] = report.format->bitsPerPixel;
        object["header"] = report.format->header;
        object["compression"] = report.format->compression;
    }
    if (report.pixelsChanged) {
        object["pixels"] = *report.pixelsChanged;
    }
    if (report.format && report.palette) {
        object["entries"] = report.entriesChanged;
    }
    if (report.format) {
        object["near_misses"] = report.nearMisses;
        object["pairs"] = pairsJson(report);
    }
    if (report.format && report.newFormat) {
        object["change"] = kindChangeText(report);
        object["new_bits"] = report.newFormat->bitsPerPixel;
        object["new_header"] = report.newFormat->header;
        object["new_compression"] = report.newFormat->compression;
        object["alpha"] = report.newFormat->alpha;
    }
    if (report.grown) {
        object["grown"] = true;
    }
    if (!report.notGrown.empty()) {
        object["not_grown"] = report.notGrown;
    }
    if (report.status == ReportStatus::Skipped) {
        object["reason"] = report.reason;
    }
    if (report.status == ReportStatus::Failed) {
        object["error"] = report.reason;
    } else if (report.status == ReportStatus::Recovered) {
        object["reason"] = report.reason;
    }
    if (dryRun) {
        object["dry_run"] = true;
    }
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string summaryLine(const Tally& tally, bool dryRun, bool interrupted) {
    const std::pair<std::size_t, std::string_view> counts[] = {
        {tally.converted, dryRun ? "to convert" : "converted"},
        {tally.restored, dryRun ? "to restore" : "restored"},
        {tally.recovered, dryRun ? "to recover" : "recovered"},
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
    if (progress_ && report.status != ReportStatus::Recovered) { // not one of the inputs
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
            putLine(err_, printableText("pixtint-convert: " + textOf(report.path) + ": " +
                                        report.reason));
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
