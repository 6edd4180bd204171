// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include "desktop/FilePaths.h"
#include "desktop/ProgramInfo.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace pixtint {

namespace {

constexpr int UsageErrorStatus = 2;
constexpr std::string_view LanguagePrefix = "--language=";

const char* const HelpText =
    "Usage: pixtint [--language ja|en] [FOLDER|FILE]\n"
    "Recolours BMP pictures in bulk: 24-bit, 32-bit and palette pictures (RLE too). The window\n"
    "speaks English on a desktop whose first language is English, and Japanese everywhere else.\n"
    "\n"
    "  FOLDER           start on this folder instead of the one kept at the last exit\n"
    "  FILE             start on the file's folder with the file selected\n"
    "  --language LANG  the window's language whatever the desktop's: ja or en\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME, are taken as well.\n"
    "\n"
    "The settings are kept in Pixtint.ini beside the program when its folder is writable,\n"
    "otherwise in $XDG_CONFIG_HOME/Pixtint/ (by default ~/.config/Pixtint/).\n";

// Qt's options that take the next argument as their value, and those that take none; Qt
// accepts each with one dash or two.
constexpr std::string_view QtOptionsWithValue[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowtitle", "qwindowicon",        "style",         "stylesheet", "session",
    "display",      "geometry",           "title",         "name"};
constexpr std::string_view QtFlags[] = {"reverse", "widgetcount", "nograb",       "dograb",
                                        "sync",    "testability", "qmljsdebugger"};

// How many arguments a Qt option at `argument` takes up (itself and its value): 0 when it is
// not one of Qt's.
int qtOptionLength(std::string_view argument) {
    if (!argument.starts_with('-')) {
        return 0;
    }
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    const auto named = [name](std::string_view option) {
        return option == name;
    };
    if (std::ranges::any_of(QtFlags, named)) {
        return 1;
    }
    if (std::ranges::any_of(QtOptionsWithValue, named)) {
        return equals == std::string_view::npos ? 2 : 1;
    }
    return 0;
}

// The window keeps a folder without a trailing separator: the root becomes the empty text.
QString folderCaption(const std::filesystem::path& folder) {
    QString caption = displayPath(folder.lexically_normal());
    while (caption.endsWith(QLatin1Char('/'))) {
        caption.chop(1);
    }
    return caption;
}

// A folder to start on, or a file to select in its folder; nothing else.
bool readPlace(const std::string& argument, CommandLine& commandLine) {
    std::error_code error;
    const std::filesystem::path place = std::filesystem::absolute(argument, error);
    if (error) {
        return false;
    }
    const auto status = std::filesystem::status(place, error);
    if (std::filesystem::is_directory(status)) {
        commandLine.folder = folderCaption(place);
        return true;
    }
    if (!std::filesystem::exists(status) || !place.has_filename()) {
        return false;
    }
    commandLine.folder = folderCaption(place.parent_path());
    commandLine.file = place.filename().string();
    return true;
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
        if (const int length = isOption ? qtOptionLength(*argument) : 0; length > 0) {
            if (length == 2 && std::next(argument) != arguments.end()) {
                ++argument;
            }
        } else if (!isOption) {
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
    } else if (operands.size() == 1 && !readPlace(operands.front(), commandLine)) {
        commandLine.problem = "not a folder or a file: " + operands.front();
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
