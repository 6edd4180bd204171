// SPDX-License-Identifier: MIT
#pragma once

#include "commit/FileOutcome.h"
#include "commit/InterruptedCommits.h"
#include "conversion/ConversionRequest.h"
#include "engine/ByteSource.h"
#include "filesafety/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace pixtint {

struct BatchOptions {
    bool dryRun = false;           // write nothing; outcomes say what would happen
    bool requireSignature = false; // a file must also start with "BM" (taken whatever its name)
    unsigned jobs = 1;             // files converted at once
    std::size_t groupFiles = 64;   // a group's size, whichever bound is reached first
    std::uint64_t groupBytes = std::uint64_t{64} << 20;
};

// Many small pictures are committed in groups as large as the limit on open files allows, so
// that a folder of thousands of icons takes few flushes of the disk: the group size for
// BatchOptions::groupFiles. Raises this process's limit on open files as far as the system
// lets it.
std::size_t groupFilesForThisProcess();

struct BatchCallbacks {
    // Every file's outcome, in the order of the list, on the calling thread.
    std::function<void(const FileOutcome&)> outcome;
    // Just before the file at `index` is replaced (its source is still the original), on the
    // calling thread. Optional.
    std::function<void(std::size_t index)> aboutToReplace;
    // Asked between files; true ends the run once the files already converted are in place.
    std::function<bool()> stopRequested;
    // What the run found of an interrupted run in a folder, before it works there. Optional.
    std::function<void(const Recovery&)> recovered;
    // Asked of each file once it is open, before its bytes decide anything, on the calling
    // thread: what it throws fails the file, which is then left as it is. With a vet, a file
    // that fails before its conversion (here, or because it cannot be opened) ends its group,
    // so that its outcome is reported before any later file is converted. Optional.
    std::function<void(std::size_t index, const ByteSource& source)> vet{};
};

// Converts a list of files in place, in groups: the converted copies of a group are written
// beside their pictures with the originals' owner, permissions and extended attributes, and
// flushed to disk together, each flush checked. Then, folder by folder under the folder's
// lock, each copy replaces its picture if the picture is still the file that was read (see
// commitPicture), its original becomes its backup, and the folder is flushed before the
// outcomes are reported. A picture reached through a symbolic link is converted where the
// link points. At every moment, a crash or another run included, each picture is its old
// bytes, its new bytes or another program's, and each original is in the picture, its
// backup, or held under a name the next run puts in place. Before it works in a folder, the
// run finishes what an interrupted run left there. Memory stays bounded whatever the file
// sizes.
class BatchRun {
public:
    // `fileSystem` makes the calls that put files in place and make them last.
    BatchRun(ConversionRequest request, BatchOptions options = {},
             FileSystem& fileSystem = systemFileSystem());

    // Answers false when the run was stopped before its last file.
    bool run(std::span<const std::filesystem::path> files, const BatchCallbacks& callbacks);

private:
    ConversionRequest request_;
    BatchOptions options_;
    FileSystem& fileSystem_;
};

} // namespace pixtint
