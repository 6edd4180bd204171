// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace pixtint {

// The benchmarks' reference runs: other programs, started the way a user's shell would.

// `path` quoted for the shell.
std::string shellQuoted(const std::filesystem::path& path);

// The benchmark program named `name` in this program's folder.
std::filesystem::path benchProgram(const std::string& name);

// Runs `command` through the shell and answers what it printed. A command that fails ends
// the benchmark: a reference that did not run would make any figure meaningless.
std::string outputOf(const std::string& command);

// The seconds `command` took, from start to exit.
double secondsOf(const std::string& command);

// The seconds bench_durable_floor took to rewrite `folder` (see DurableFloor.cpp).
double durableFloorSeconds(const std::filesystem::path& folder);

} // namespace pixtint
