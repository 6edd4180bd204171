#pragma once

#include "conversion/FileOutcome.h"
#include "engine/Error.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>

namespace pixtint {

// The backup of a picture: its path with the last three bytes replaced by "bak", so a.bmp
// keeps its original as a.bak. Works on the native bytes, so a name in any encoding keeps
// everything but its ending. Throws Error (EINVAL) for a path shorter than three bytes.
std::filesystem::path backupPathFor(const std::filesystem::path& picture);

// Whether a picture's original could be put at `backup` without losing what is there: a
// file (older backup) or a link may be replaced, nothing else. Answers the error that stops
// it. Nothing there, or a name we cannot look at yet, stops nothing: placing the backup will
// tell.
std::optional<Error> backupPlaceBlocked(const std::filesystem::path& backup);

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

// The backup of one picture while a batch converts it: the picture as it was before, held
// under a private name beside it (NAME.bak and six random characters) until the item is known
// to have been converted. Only then does it replace the backup file, in one rename, so that a
// failed item leaves an older backup as it was. A hard link holds the picture at no cost
// whatever its size (the conversion replaces the picture's name, never its bytes); where the
// file system has no hard links the bytes are copied.
class HeldOriginal {
public:
    // Throws Error when the picture can be neither linked nor copied.
    HeldOriginal(const std::filesystem::path& picture, std::filesystem::path backup);
    // Removes the held picture unless it became the backup.
    ~HeldOriginal();
    HeldOriginal(const HeldOriginal&) = delete;
    HeldOriginal& operator=(const HeldOriginal&) = delete;

    // Moves the held picture over the backup file in one step. The folder is not synced here:
    // the next sync of the same folder makes the rename last, and until then the held picture
    // does. Throws Error; the held picture then stays under its private name, since it may
    // be the only copy of the picture as it was.
    void commit();

    // Where the picture is held until it becomes the backup.
    const std::filesystem::path& path() const { return held_; }

private:
    std::filesystem::path backup_;
    std::filesystem::path held_;
    bool holding_ = false;
};

} // namespace pixtint
