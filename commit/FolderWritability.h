// SPDX-License-Identifier: MIT
#pragma once

#include "engine/Error.h"

#include <filesystem>
#include <optional>

namespace pixtint {

// Why this process cannot make a new file in `folder`, or nothing when it can: a read-only
// file system (EROFS), no write permission for the process's effective user (EACCES), or the
// folder's own failure. Asked of the system without creating anything, so that a dry run
// finds the same answer as the run it predicts.
std::optional<Error> folderWriteProblem(const std::filesystem::path& folder);

} // namespace pixtint
