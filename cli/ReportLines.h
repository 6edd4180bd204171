#pragma once

#include "cli/FileReport.h"

#include <string>

namespace pixtint {

// The per-file lines and the summary, without their line ends. A dry run reports the same
// outcomes in the conditional ("would convert").

// "converted  icons/a.bmp  (37 pixels)"
std::string textLine(const FileReport& report, bool dryRun);

// {"path":"icons/a.bmp","status":"converted","pixels":37}; a name that is not valid UTF-8
// has its stray bytes replaced by U+FFFD, so every line stays valid JSON.
std::string jsonLine(const FileReport& report, bool dryRun);

// "3 converted, 1 skipped" or, for a dry run, "3 to convert, 1 skipped (dry run: nothing
// written)".
std::string summaryLine(const Tally& tally, bool dryRun);

} // namespace pixtint
