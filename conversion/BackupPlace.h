#pragma once

#include "engine/AppError.h"

#include <filesystem>
#include <optional>

namespace pixtint {

// Whether a picture's original could be put at `backup` without losing what is there: a
// file (older backup) or a link may be replaced, nothing else. Answers the error that stops
// it: 75 for a folder or another kind of entry, 70 for a file we may not write. Nothing
// there, or a name we cannot look at yet, stops nothing: placing the backup will tell.
std::optional<AppError> backupPlaceBlocked(const std::filesystem::path& backup);

} // namespace pixtint
