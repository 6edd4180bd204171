// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/BackupRestore.h"

#include <QString>
#include <filesystem>
#include <functional>
#include <span>
#include <vector>

namespace pixtint {

// How a restore from the window ended, file by file counted.
struct RestoreTally {
    int restored = 0;
    int withoutBackup = 0;
    int notBackups = 0; // NAME.bak holds something else than an earlier backup
    int failed = 0;
};

using RestoreFailureReport =
    std::function<void(const std::filesystem::path& picture, const RestoreOutcome& outcome)>;

// Undo in the window: puts back each picture's backup (NAME.bak) through the conversion core,
// with the core's promise (one rename each, the folders flushed before the answer). Each failure
// goes to `reportFailure` once its folder is done; a picture without a backup, or whose NAME.bak is
// not one (a user's text file, a link), is left alone with that file.
RestoreTally restoreFromBackups(std::span<const std::filesystem::path> pictures,
                                const RestoreFailureReport& reportFailure);

// The closing message: how many pictures were put back, and how many had no backup or failed.
QString restoreSummary(const RestoreTally& tally);

} // namespace pixtint
