#pragma once

#include "conversion/FileOutcome.h"
#include "engine/AppError.h"
#include "engine/Error.h"

#include <string>

namespace pixtint {

// The English reason a command-line user reads for an error: the program's own descriptions
// are Japanese, written for the window.
std::string reasonFor(const AppError& error);

// The reason of an error of the conversion core: the system's own words where a call failed.
std::string reasonFor(const Error& error);

// Why a file of a batch failed, naming the other file involved where there is one.
std::string reasonFor(const FileFailure& failure);

} // namespace pixtint
