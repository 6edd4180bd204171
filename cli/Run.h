// SPDX-License-Identifier: MIT
#pragma once

#include "cli/Options.h"

#include <cstdio>

namespace pixtint {

// Ctrl-C (SIGINT) or SIGTERM asks the run to stop after the files in hand, so that no copy is
// left half-way; a second one ends the program at once, which is still safe for every file.
void catchStopSignals();

// Converts, or restores, the files the options name, reporting each on `out` (messages and
// progress on `err`). Answers the exit status.
int runCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

} // namespace pixtint
