// SPDX-License-Identifier: MIT
#include "cli/Options.h"
#include "cli/Run.h"
#include "engine/Error.h"

#include <cstdio>
#include <exception>
#include <new>
#include <variant>

using namespace pixtint;

namespace {

int complain(const std::string& reason) {
    std::fprintf(stderr, "pixtint-convert: %s\n", reason.c_str());
    return ExitStatus::FileFailed;
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = parseCommandLine({argv, static_cast<std::size_t>(argc)});
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
