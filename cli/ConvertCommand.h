#pragma once

#include "cli/CommandLine.h"

#include <cstdio>

namespace pixtint {

// Converts, or restores, the files the options name, reporting each on `out` (messages and
// progress on `err`). Answers the exit status.
int runCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

} // namespace pixtint
