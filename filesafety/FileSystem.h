// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

namespace pixtint {

// The calls that put a batch's files in place and make them last, as one seam: a test
// replaces a single call to see how the program meets a failure at that step, or records the
// flushes a run makes. Each answers 0 or the errno of its failure.
class FileSystem {
public:
    using Name = std::filesystem::path::value_type; // char on Linux, wchar_t on Windows

    virtual ~FileSystem() = default;

    // open() with O_TMPFILE: a new file with no name in `folder`, for writing. Answers its
    // descriptor, or minus the errno of the failure.
    virtual int createUnnamed(const Name* folder);
    // linkat(): another name, `name` in the open folder `folder`, for the open file
    // `descriptor` (its first one for an unnamed file). On Windows `name` is a whole path and
    // `folder` is not used.
    virtual int linkFile(int descriptor, int folder, const Name* name);
    // renameat2() on names in one folder; `flags` 0, RENAME_EXCHANGE or RENAME_NOREPLACE. On
    // Windows, MoveFileExW with write-through, retried while another program has either file
    // open for a moment; no exchange (EINVAL).
    virtual int renameInFolder(int folder, const Name* from, const Name* to, unsigned flags);
    // syncfs(): every file of the file system holding `descriptor`.
    virtual int syncFileSystem(int descriptor);
    // One file's bytes written back, and the error of any write-back of them since the file
    // was opened. Called after syncFileSystem(), which makes them last.
    virtual int syncData(int descriptor);
    // fsync() of one file written alone (the settings, a held original's copy): its bytes and
    // status made to last without a flush of the whole file system.
    virtual int syncFile(int descriptor);
    // fsync() of a folder: the names renamed into it.
    virtual int syncFolder(int folder);
    // close() of a written file, which some file systems use to report a failed write. The
    // descriptor is gone whatever it answers.
    virtual int closeFile(int descriptor);
};

// The system's own calls.
FileSystem& systemFileSystem();

} // namespace pixtint
