// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/UiLanguage.h"

#include <QString>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pixtint {

// What the window program's command line asks for: `pixtint [--language ja|en] [FOLDER|FILE]`,
// or --help, --version.
struct CommandLine {
    bool help = false;
    bool version = false;
    // The window's language when the user chose one; otherwise the desktop's decides.
    std::optional<UiLanguage> language;
    // The folder to start on, as the window holds a folder: absolute, no trailing separator.
    // A file given on the command line names its folder.
    std::optional<QString> folder;
    // The file to select in that folder, by its name's bytes, when a file was given.
    std::optional<std::string> file;
    // Why the arguments make no sense, when they don't.
    std::string problem;
};

// Reads the arguments after the program's name. --help and --version win over anything else.
// Qt's own options (-platform NAME and the like) are passed over, so that the arguments can be
// read, and a usage error answered, before Qt looks for a display.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);
CommandLine parseCommandLine(int argc, const char* const* argv);

// Prints what --help, --version or a usage error ask for and answers the exit status; nothing
// when the window is to start.
std::optional<int> answerOnTerminal(const CommandLine& commandLine, std::ostream& out,
                                    std::ostream& errors);

} // namespace pixtint
