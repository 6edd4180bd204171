#pragma once

#include "conversion/BackupClaims.h"

#include <filesystem>
#include <set>

namespace pixtint {

// What a batch run keeps from one group to the next.
struct RunState {
    BackupClaims claims;
    std::set<std::filesystem::path> cleanedFolders; // leftover copies already removed there
};

} // namespace pixtint
