// SPDX-License-Identifier: MIT
#pragma once

#include "platform/UiLanguage.h"

#include <QString>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pixtint {

// What the window program's command line asks for: `pixtint [--language ja|en] [FOLDER]`, or
// --help, --version.
struct CommandLine {
    bool help = false;
    bool version = false;
    // The window's language when the user chose one; otherwise the desktop's decides.
    std::optional<UiLanguage> language;
    // The folder to start on, as the window holds a folder: absolute, no trailing separator.
    std::optional<QString> folder;
    // Why the arguments make no sense, when they don't.
    std::string problem;
};

// Reads the arguments after the program's name. --help and --version win over anything else, so
// that they answer before Qt has taken its own options (-platform and the like) out of the list.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);
CommandLine parseCommandLine(int argc, const char* const* argv);

// Prints what --help, --version or a usage error ask for and answers the exit status; nothing
// when the window is to start.
std::optional<int> answerOnTerminal(const CommandLine& commandLine, std::ostream& out,
                                    std::ostream& errors);

} // namespace pixtint
