// SPDX-License-Identifier: MIT
#pragma once

// File safety: how the program reads a user's file and replaces it so that nothing is ever
// lost, whatever happens at any moment (a kill, a power cut, a full disk, a second run, another
// program saving the same file). This is the whole life of a replaced picture, told once. The
// batch run (BatchRun) drives steps 1 to 3 through filesafety/, whose calls know neither the
// backup's name nor the picture's format; this header's commitPicture does steps 4 to 6, the run
// flushes the folder (7), and InterruptedCommits finishes what a killed run left (8).
//
// 1. Read. The picture is opened once (FileByteSource, PosixFile) and stays open until its
//    commit. Its number, size, modification time and change time are kept (ReadIdentity).
//    A small picture is read in one call, as large as the size it had when opened, and those
//    bytes are kept until its commit, to be compared again after the exchange (5).
//
// 2. Copy. The converted bytes go to a new file beside the picture (SiblingFile) that no user
//    and no other run can hold: it has no name while it is written (O_TMPFILE), or, where the
//    file system cannot make one, it is made under the folder's lock (FolderLock) and renamed
//    at once to its own name. It gets the picture's owner, mode and attributes
//    (FileAttributes).
//
// 3. Flush. A group of copies is made to last together: one flush of the file system, then
//    each copy's own write-back waited for and its close checked (FileSystem::syncFileSystem,
//    syncData, closeFile). A copy gets its own name only now.
//
// 4. Hold. Under the folder's lock, a larger picture is read-leased (an open for writing then
//    breaks the lease and waits until the run lets go) and checked to be the file read,
//    unchanged (same number, size and times: a rewrite in place changes the change time,
//    which nobody can set back); a small picture's check is the one after the exchange. The
//    original then gets a second name, its held name, by a hard link to the descriptor it was
//    read through, made in the folder's descriptor; where the file system has no hard links
//    its bytes are copied and flushed under a copy's name, then renamed to the held name.
//
// 5. Exchange. The copy and the picture swap names in one step (RENAME_EXCHANGE). What was
//    swapped out is checked to be the file read, its size and modification time unchanged
//    (the exchange itself changes the change time), and its bytes untouched: a small
//    picture's compared with those read, a larger one's lease still whole, so that a rewrite
//    in place that kept its size and set its time back (cp -p) in the moment before the
//    exchange is seen too (where no lease can be had, the times must do). If not, another
//    program saved the picture
//    in the meantime: the swap is undone, so its save is the picture again; if even that
//    fails, its save stays under the copy's name, which the report prints and no run removes.
//    Without an exchange, the check and a plain rename follow each other as closely as they
//    can.
//
// 6. Backup. The held original is renamed over the backup in one step; a backup that is
//    already another name of the original (a hard link to the picture) just loses the held
//    name. A backup name that was free when the run looked is taken only if it still is
//    (RENAME_NOREPLACE): whatever another program put there since is looked at as an earlier
//    backup would have been, and a file of its own is never replaced. The name the copy
//    left, which holds the original too, goes.
//
// 7. Folder flush. The folder is flushed once per group before any picture of it is reported
//    converted.
//
// 8. Recovery. A kill anywhere above leaves each picture its old or its new bytes, and each
//    original in the picture, its backup or its held name. Whatever a run leaves has an own
//    name (OwnNames): hidden, marked ".pixtint-", and carrying the number of the file it was
//    given to and a key of the name it belongs to. The next run in the folder looks only at
//    names that still name the file they say: a copy that is still the copy is removed, so is
//    the original it swapped out when that keeps another name; a held original becomes the
//    backup, or goes when it keeps another name. A name that only looks like ours, a user's
//    own "NAME.bak.202401" included, is never renamed, replaced or deleted. Another user's
//    leftovers (a shared sticky folder) are theirs: told once, left alone.
//
// What this rests on: the number a file system gives a file stays the same while the file
// exists. File systems that make numbers up at each mount (FAT) keep that promise only until
// the next mount: after a power cut there, the leftovers of the killed run no longer prove
// themselves ours, and stay where they are, for the user to see, instead of being finished.

// On Windows (filesafety/windows/, commit/windows/) the same promise is kept with Windows' own
// calls behind the same headers. 1: the picture is opened without write or delete sharing, so
// until its commit no other program can change, rename or delete it (an editor's save fails
// as "in use" meanwhile). 2: the copy is created hidden and unshared under a short-lived name,
// renamed through its handle to its own name, its number being the file index. 3: each copy's
// FlushFileBuffers (no volume flush without administrator rights). 4: the original's held
// name is a hard link (CreateHardLinkW), or a flushed copy where there are none (FAT); then the
// run lets go of the picture and checks that its name still names it, unchanged. 5: one
// MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) puts the copy in its place,
// retried for about a second while a scanner or an indexer has either file open. ReplaceFileW
// is not used: it is two renames, between which a crash leaves no file under the picture's
// name. 6: the held name becomes the backup the same way. 7: every rename is written
// through. 8: the same recovery by file index. The folder's lock is a mutex named after the
// folder's volume and file index. Names are UTF-16 and passed with "\\?\" in front, so no
// length limit applies; the backup names compare without case.

#include "commit/FileOutcome.h"
#include "filesafety/FileState.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>

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
    // The file's bytes as they were read and converted, when the file is small enough to have
    // been read whole at once; empty otherwise.
    std::span<const std::uint8_t> readBytes{};
#ifdef _WIN32
    // Closes the hold on the original: Windows renames nothing over a file open without
    // delete sharing, which is how the run keeps others from changing it until now.
    std::function<void()> letGoOfOriginal;
#endif
};

// Puts the copy in the picture's place only if the name still names the file that was read,
// unchanged: the original is held through the descriptor it was read by, the copy and the
// picture swap names in one step, and what was swapped out is checked to be that file, its
// bytes untouched (compared with `readBytes`; for a larger file, a read lease taken before
// the last look at its name must still be whole, where one can be had); if it is not, the
// swap is undone and the picture fails as changed during the run, its new bytes kept. A
// rewrite in place that keeps the size and the modification time (cp -p) in the moment before
// the swap is seen too. Then the held original becomes the backup. A rename that reports a failure
// is looked at again, since it may have taken effect. An original's last name is never removed.
// Answers the failure, or nothing when the picture is converted.
std::optional<FileFailure> commitPicture(const PictureCommit& commit, FileSystem& fileSystem);

} // namespace pixtint
