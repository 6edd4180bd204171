// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include "platform/FilePaths.h"
#include "platform/ProgramInfo.h"

#include <filesystem>
#include <string_view>

namespace pixtint {

namespace {

constexpr int UsageErrorStatus = 2;
constexpr std::string_view LanguagePrefix = "--language=";

const char* const HelpText =
    "Usage: pixtint [--language ja|en] [FOLDER]\n"
    "Recolours 24-bit BMP pictures in bulk. The window speaks English on a desktop whose\n"
    "first language is English, and Japanese everywhere else.\n"
    "\n"
    "  FOLDER           start on this folder instead of the one kept at the last exit\n"
    "  --language LANG  the window's language whatever the desktop's: ja or en\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME, are taken as well.\n"
    "\n"
    "The settings are kept in Pixtint.ini beside the program when its folder is writable,\n"
    "otherwise in $XDG_CONFIG_HOME/Pixtint/ (by default ~/.config/Pixtint/).\n";

// The window keeps a folder without a trailing separator: the root becomes the empty text.
std::optional<QString> folderCaption(const std::string& argument) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(argument, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        return std::nullopt;
    }
    QString caption = displayPath(folder.lexically_normal());
    while (caption.endsWith(QLatin1Char('/'))) {
        caption.chop(1);
    }
    return caption;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine commandLine;
    std::vector<std::string> operands;
    std::string unknownOption;
    std::optional<std::string> languageCode;
    bool optionsEnded = false;
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        const bool isOption = !optionsEnded && argument->size() > 1 && argument->front() == '-';
        if (!isOption) {
            operands.push_back(*argument);
        } else if (*argument == "--") {
            optionsEnded = true;
        } else if (*argument == "-h" || *argument == "--help") {
            commandLine.help = true;
        } else if (*argument == "--version") {
            commandLine.version = true;
        } else if (*argument == "--language") {
            languageCode = std::next(argument) != arguments.end() ? *++argument : std::string();
        } else if (argument->starts_with(LanguagePrefix)) {
            languageCode = argument->substr(LanguagePrefix.size());
        } else if (unknownOption.empty()) {
            unknownOption = *argument;
        }
    }
    if (commandLine.help || commandLine.version) {
        return commandLine;
    }
    if (languageCode) {
        commandLine.language = uiLanguageNamed(*languageCode);
    }
    if (!unknownOption.empty()) {
        commandLine.problem = "unknown option " + unknownOption;
    } else if (languageCode && !commandLine.language) {
        commandLine.problem = "--language takes ja or en" +
                              (languageCode->empty() ? "" : ", not '" + *languageCode + "'");
    } else if (operands.size() > 1) {
        commandLine.problem = "one folder at most";
    } else if (operands.size() == 1) {
        commandLine.folder = folderCaption(operands.front());
        if (!commandLine.folder) {
            commandLine.problem = "not a folder: " + operands.front();
        }
    }
    return commandLine;
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    return parseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}

std::optional<int> answerOnTerminal(const CommandLine& commandLine, std::ostream& out,
                                    std::ostream& errors) {
    if (commandLine.help) {
        out << HelpText;
        return 0;
    }
    if (commandLine.version) {
        out << "pixtint " << ProgramInfo::majorVersion() << '.' << ProgramInfo::minorVersion()
            << '\n';
        return 0;
    }
    if (!commandLine.problem.empty()) {
        errors << "pixtint: " << commandLine.problem << "\nTry 'pixtint --help'.\n";
        return UsageErrorStatus;
    }
    return std::nullopt;
}

} // namespace pixtint
