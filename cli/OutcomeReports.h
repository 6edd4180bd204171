#pragma once

#include "cli/FileReport.h"
#include "cli/InputFiles.h"
#include "conversion/BackupRestore.h"
#include "conversion/BatchRun.h"

namespace pixtint {

// The report of each kind of ending a file can have.
FileReport reportOf(const FileOutcome& outcome);
FileReport reportOf(const std::filesystem::path& picture, const RestoreOutcome& outcome);
FileReport reportOfUnusable(const InputFile& input);

} // namespace pixtint
