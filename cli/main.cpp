// SPDX-License-Identifier: MIT
#include "cli/Options.h"
#include "cli/Run.h"
#include "engine/Error.h"

#include <cstdio>
#include <exception>
#include <new>
#include <variant>

#ifdef _WIN32
#include "engine/PathText.h"

#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>
#include <windows.h>
// after windows.h, whose macros it uses
#include <shellapi.h>
#endif

using namespace pixtint;

namespace {

#ifdef _WIN32
// Windows hands main() its arguments in the ANSI code page, which lacks most characters of
// most names: the wide ones are taken instead, as UTF-8, the program's text.
std::vector<std::string> argumentsInUtf8() {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) {
        arguments.push_back(textOf(std::filesystem::path(wide[i])));
    }
    ::LocalFree(wide);
    return arguments;
}

// Output is UTF-8, in the console as in a file or a pipe, with the same line ends as on Linux;
// the console draws the progress bar's escape codes.
void prepareConsole() {
    ::SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const HANDLE console = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (::GetConsoleMode(console, &mode)) {
        ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}
#endif

int complain(const std::string& reason) {
    std::fprintf(stderr, "pixtint-convert: %s\n", reason.c_str());
    return ExitStatus::FileFailed;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    prepareConsole();
    const auto utf8 = argumentsInUtf8();
    std::vector<const char*> arguments;
    for (const auto& argument : utf8) {
        arguments.push_back(argument.c_str());
    }
    const auto parsed = parseCommandLine(arguments);
    (void)argc;
    (void)argv;
#else
    const auto parsed = parseCommandLine({argv, static_cast<std::size_t>(argc)});
#endif
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        std::fputs(early->output.c_str(), stdout);
        std::fputs(early->error.c_str(), stderr);
        return early->status;
    }
    catchStopSignals();
    try {
        return runCommand(std::get<CliOptions>(parsed), stdout, stderr);
    } catch (const Error& error) {
        return complain(error.what()); // the path and the reason
    } catch (const std::bad_alloc&) {
        return complain("out of memory");
    } catch (const std::exception& error) {
        return complain(error.what());
    }
}
