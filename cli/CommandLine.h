#pragma once

#include "conversion/ConversionRequest.h"

#include <span>
#include <string>
#include <variant>
#include <vector>

namespace pixtint {

// What the user asked for, checked: colours parsed, pairs in their order (--from/--to first,
// then each --map), at least one pair unless restoring.
struct CliOptions {
    ConversionRequest request{.pairs = {}, .growth = Growth::None, .keepBackup = true};
    bool dryRun = false;
    bool restore = false;
    bool recursive = false;
    unsigned jobs = 0; // 0: one per core
    bool json = false;
    bool quiet = false;
    std::vector<std::string> paths;
};

// The command line ends before any file is touched: help, version or a usage error.
struct EarlyExit {
    int status = 0;
    std::string output; // for standard output
    std::string error;  // for standard error
};

// `arguments` is argv whole, the program name included.
std::variant<CliOptions, EarlyExit> parseCommandLine(std::span<const char* const> arguments);

} // namespace pixtint
