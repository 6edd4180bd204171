// SPDX-License-Identifier: MIT
#pragma once

#include "engine/Error.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace pixtint {

class FolderLock;

// What the next run did with an original a killed run left held under its own held name.
struct Recovery {
    enum class Action {
        Removed,      // the original keeps another name (the picture, or its backup already)
        MadeBackup,   // the picture had been converted: the original became NAME.bak
        Kept,         // NAME.bak holds something else; `reason` says what, and nothing moved
        LeftForOwner, // `count` leftovers of another user's runs in the folder `held`: theirs
    };
    Action action = Action::Kept;
    std::filesystem::path held;
    std::filesystem::path backup;
    std::optional<Error> reason;
    std::size_t count = 1;
};

// Finishes the commits that a killed run left unfinished in the folder whose lock is held.
// Only what its own name proves ours (filesafety/OwnNames.h: the name says which file it was
// given to, and it still is) is looked at; a name that only looks like ours is never touched.
// Each held original whose picture is beside it is removed when the original keeps another
// name (it is the picture itself, the same file or the same bytes for a copy, or the backup
// already), and otherwise becomes the picture's backup. Copies the killed run was writing are
// removed. A held original whose picture is gone is left alone; another user's leftovers are
// left to that user and told once, in one Recovery for the folder. In a dry run, answers what
// it would do and changes nothing. Renames are flushed to disk before it answers.
std::vector<Recovery> finishInterruptedCommits(const FolderLock& lock, bool dryRun);

} // namespace pixtint
