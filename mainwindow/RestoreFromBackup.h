// SPDX-License-Identifier: MIT
#pragma once

#include "commit/BackupRestore.h"

#include <QString>
#include <filesystem>
#include <span>
#include <vector>

class QWidget;

namespace pixtint {

class Dialogs;

// How a restore from the window ended, file by file counted.
struct RestoreTally {
    int restored = 0;
    int withoutBackup = 0;
    int notBackups = 0; // NAME.bak holds something else than an earlier backup
    int failed = 0;
};

// Undo in the window: puts back each picture's backup (NAME.bak) through the conversion core,
// with the core's promise (one rename each, the folders flushed before the answer), under the
// busy cursor. Each failure is shown in a box of `owner`'s once its folder is done; a picture
// without a backup, or whose NAME.bak is not one (a user's text file, a link), is left alone
// with that file.
RestoreTally restoreFromBackups(QWidget& owner, Dialogs& dialogs,
                                std::span<const std::filesystem::path> pictures);

// The closing message: how many pictures were put back, and how many had no backup or failed.
QString restoreSummary(const RestoreTally& tally);

} // namespace pixtint
