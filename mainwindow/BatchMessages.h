#pragma once

#include "conversion/BatchRun.h"
#include "engine/AppError.h"

namespace pixtint {

// The error a failed batch item is reported with: its number and description, then what
// happened to which file, so that a message met in the middle of a long run still says which
// picture it is about and where its original is.
AppError batchFailure(const FileOutcome& outcome);

} // namespace pixtint
