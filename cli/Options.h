// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionRequest.h"
#include "engine/ColourMap.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pixtint {

namespace ExitStatus {
inline constexpr int Success = 0;       // no file failed (skipped files do not fail)
inline constexpr int FileFailed = 1;    // at least one file failed, a missing path included
inline constexpr int UsageError = 2;    // nothing was done
inline constexpr int Interrupted = 130; // stopped by SIGINT or SIGTERM; files done are in place
} // namespace ExitStatus

// What the user asked for, checked: colours parsed, pairs in their order (--from/--to first,
// then each --map), at least one pair unless restoring.
struct CliOptions {
    ConversionRequest request{
        .pairs = {}, .growth = Growth::None, .keepBackup = true, .tolerance = 0, .everyKind = true};
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

// Colours as a person types them: "#RRGGBB" or "RRGGBB" in hex of either case; "R,G,B" or
// "rgb(R,G,B)" in decimal 0-255 (blanks around the numbers allowed); a CSS colour name in any
// letter case. Anything else answers nothing.
std::optional<Rgb> parseColour(std::string_view text);

// "transparent" in any letter case: a TO colour that turns FROM transparent.
bool isTransparentColour(std::string_view text);

// "FROM=TO", each side a colour as above; TO may also be "transparent".
std::optional<ColourPair> parseColourPair(std::string_view text);

} // namespace pixtint
