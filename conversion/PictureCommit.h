// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/FileOutcome.h"
#include "filesafety/FileState.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>

namespace pixtint {

class FileSystem;
class FolderLock;
class SiblingFile;

// The file a run read, as it was when it was opened: a picture whose name names another file,
// or whose bytes were written since, is not the one that was converted. The change time
// tells a rewrite that kept the size and set the modification time back (cp -p): nobody can
// set it back.
struct ReadIdentity {
    decltype(FileState::st_dev) device = 0;
    FileNumber inode = 0;
    decltype(FileState::st_size) size = 0;
    timespec modified{};
    timespec changed{};

    // `status`: the file's, taken when it was opened for reading.
    static ReadIdentity of(const FileState& status);
};

// One converted picture about to take its original's place.
struct PictureCommit {
    const FolderLock& lock;        // held on the picture's folder
    std::filesystem::path picture; // where the file read is (a link's target, not the link)
    int original;                  // the descriptor the picture was read through
    ReadIdentity read;
    SiblingFile& copy;            // written, flushed and named
    std::filesystem::path backup; // empty when no backup is kept
    bool backupWasFree = false;   // nothing was at the backup's name when the run claimed it
#ifdef _WIN32
    // Closes the hold on the original: Windows renames nothing over a file open without
    // delete sharing, which is how the run keeps others from changing it until now.
    std::function<void()> letGoOfOriginal;
#endif
};

// Puts the copy in the picture's place only if the name still names the file that was read,
// unchanged: the original is held through the descriptor it was read by, the copy and the
// picture swap names in one step, and what was swapped out is checked to be that file; if it
// is not, the swap is undone and the picture fails as changed during the run, its new bytes
// kept. Then the held original becomes the backup. A rename that reports a failure is looked
// at again, since it may have taken effect. An original's last name is never removed. Answers
// the failure, or nothing when the picture is converted.
std::optional<FileFailure> commitPicture(const PictureCommit& commit, FileSystem& fileSystem);

} // namespace pixtint
