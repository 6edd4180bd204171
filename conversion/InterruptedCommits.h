// SPDX-License-Identifier: MIT
#pragma once

#include "engine/Error.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace pixtint {

class FolderLock;

// What the next run did with an original a killed run left held (NAME.bak.XXXXXX).
struct Recovery {
    enum class Action {
        Removed,    // it was the picture itself: the conversion had not happened
        MadeBackup, // the picture had been converted: the original became NAME.bak
        Kept,       // NAME.bak holds something else; `reason` says what, and nothing moved
    };
    Action action = Action::Kept;
    std::filesystem::path held;
    std::filesystem::path backup;
    std::optional<Error> reason;
};

// Finishes the commits that a killed run left unfinished in the folder whose lock is held:
// each held original whose picture is beside it is removed when it is the picture itself
// (same file, or the same bytes for a copy), and otherwise becomes the picture's backup.
// Copies the killed run was writing are removed. A held original whose picture is gone is
// left alone, and so is anything not ours. In a dry run, answers what it would do and changes
// nothing. Renames are flushed to disk before it answers.
std::vector<Recovery> finishInterruptedCommits(const FolderLock& lock, bool dryRun);

} // namespace pixtint
