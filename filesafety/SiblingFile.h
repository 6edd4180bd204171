// SPDX-License-Identifier: MIT
#pragma once

#include "filesafety/FileSystem.h"
#include "filesafety/PosixFile.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pixtint {

class FolderLock;

// A new file beside a target, written out of sight and then put in the target's place in one
// step: the one way the program writes over a file. Neither a user's file nor another run can
// ever hold it: it has no name while it is written (O_TMPFILE), or, where the file system
// cannot do that, a copy's own name (OwnNames.h) that is created under the folder's lock and
// locked from its first moment. Destroyed before it took the target's place, it is gone.
class SiblingFile {
public:
    // Created with the target's permissions where the target exists. A caller that already
    // holds the folder's lock passes it, and one that has the target open passes its status,
    // which then stands for the target's. Throws Error naming the target when the folder
    // takes no new file.
    explicit SiblingFile(std::filesystem::path target, const FolderLock* heldLock = nullptr,
                         FileSystem& fileSystem = systemFileSystem(),
                         const FileState* openTarget = nullptr);
    ~SiblingFile();
    SiblingFile(const SiblingFile&) = delete;
    SiblingFile& operator=(const SiblingFile&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    int descriptor() const { return file_.get(); }
    // The file as made: its inode, owner and group, and the permissions it was given.
    const FileState& status() const { return status_; }
    const std::filesystem::path& target() const { return target_; }
    // Its own name (OwnRole::Copy); empty while it has none.
    const std::filesystem::path& name() const { return name_; }

    // Gives the file its hidden name in the folder `lock` holds, when it has none yet, and
    // closes it with a check: some file systems report a failed write only then. The lock
    // keeps other runs' clean-up away once the file is closed. Answers the name. Throws Error.
    const std::filesystem::path& nameAndClose(const FolderLock& lock, FileSystem& fileSystem);
    // Flushes the file, takes the target's place in one rename and flushes the folder, so
    // that at every moment, a crash included, the target is its old or its new content. The
    // calls go through the file system it was made with. Throws Error naming the target.
    void replaceTarget(const FolderLock* heldLock = nullptr);
    // The name no longer holds this file (it took the target's place, or was dealt with by
    // the caller): the destructor leaves it alone.
    void forgetName() { name_.clear(); }

private:
    std::filesystem::path target_;
    FileSystem& fileSystem_;
    FileNumber replaces_ = 0;    // the file the target named when this was made; 0 for none
    std::filesystem::path name_; // empty while unnamed
    UniqueFd file_;
    FileState status_{};
};

// Writes `bytes` to a sibling, flushes it, renames it over `target` and flushes the folder,
// so that at every moment, a crash included, `target` is its old or its new content. Throws
// Error naming `target`.
void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         FileSystem& fileSystem = systemFileSystem());

// Removes the copies an interrupted run left in the folder open as `folder`: a file under a
// copy's own name that is still that copy (it never took its target's place), or the file it
// swapped out of its target's place when that file has another name too, or `keptElsewhere`
// (given the file's name and its target's) finds its bytes kept under another name (a held
// original or a backup, copied where there are no hard links). Anything else under such a
// name is not ours and stays. Call it holding the folder's lock; a copy another run still
// writes is locked and left alone, and so is another user's. In a dry run, removes nothing.
// Answers how many of another user's copies it left.
using KeptElsewhere = std::function<bool(const std::string& name, const std::string& target)>;
std::size_t removeLeftoverCopies(int folder, bool dryRun,
                                 const KeptElsewhere& keptElsewhere = {}) noexcept;

// Whether the file in `status` belongs to a run of another user, whose leftovers are theirs.
bool belongsToAnotherUser(const FileState& status);

// A regular file of a folder, with its status as the listing saw it.
struct ListedFile {
    std::string name;
    FileState status{};
};

// The regular files of the open folder `folder`, or only those whose names carry an own name:
// a folder of pictures with nothing of ours in it then costs one listing, not a status call
// per picture.
std::vector<ListedFile> regularFilesOf(int folder, bool ownNamesOnly);

// How many names to try before giving up on a folder full of them.
inline constexpr int MaxNameAttempts = 100;

} // namespace pixtint
