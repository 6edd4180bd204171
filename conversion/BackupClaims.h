#pragma once

#include "conversion/BatchRun.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>

namespace pixtint {

// The backup names of one run. Two pictures whose names differ only in their last three bytes
// (dup.bmp and dup.BMP on a case-sensitive disk) share one backup name; the first to claim it
// keeps it, and the other is not converted, so neither original is lost. A backup name that
// is itself a picture of the run is never claimed either.
class BackupClaims {
public:
    explicit BackupClaims(std::span<const std::filesystem::path> pictures);

    // Claims `backup` for `picture`, or answers why it cannot have it.
    std::optional<FileFailure> claim(const std::filesystem::path& picture,
                                     const std::filesystem::path& backup);

private:
    std::set<std::filesystem::path> pictures_;
    std::map<std::filesystem::path, std::filesystem::path> claimed_; // backup -> picture
};

} // namespace pixtint
