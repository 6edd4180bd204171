// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionResult.h"
#include "engine/Error.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace pixtint {

// How one file of a batch ended.
enum class FileStatus {
    Converted, // replaced by its converted picture (backup in place when asked)
    Unchanged, // nothing to change: neither the file nor its backup was written
    Skipped,   // not a picture the run converts: left alone
    Failed,    // left as it was; `failure` says why
};

struct FileFailure {
    enum class Kind {
        Conversion,        // reading, converting or replacing the file failed
        BackupBlocked,     // its backup name is held by something that may not be replaced
        BackupNameShared,  // another picture of this run already has the same backup name
        BackupNotPlaced,   // converted, but its original could not become the backup
        FolderNotWritable, // its folder takes no new file: `error` is the folder's, and says why
    };
    FileFailure(Kind kind, Error error, std::filesystem::path otherPicture = {},
                std::filesystem::path keptOriginal = {})
        : kind(kind)
        , error(std::move(error))
        , otherPicture(std::move(otherPicture))
        , keptOriginal(std::move(keptOriginal)) {}

    Kind kind;
    Error error;
    std::filesystem::path otherPicture; // BackupNameShared: the picture that has the name
    // BackupNotPlaced, or a picture changed during the run whose held original has no other
    // name: where the original is kept instead.
    std::filesystem::path keptOriginal;
    // A picture changed during the run whose swap could not be undone: where the other
    // program's save is (the picture holds the converted bytes).
    std::filesystem::path otherSave;
};

struct FileOutcome {
    std::size_t index = 0; // position in the list the run was given
    std::filesystem::path path;
    FileStatus status = FileStatus::Failed;
    ConversionResult result; // Converted and Unchanged (and their dry-run forms)
    std::optional<FileFailure> failure;
    std::filesystem::path backup; // Converted with a backup: where the original now is
    std::string skipReason;       // Skipped: why, in English
};

} // namespace pixtint
