#pragma once

#include "conversion/ConversionRequest.h"
#include "conversion/ConversionResult.h"
#include "engine/AppError.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace pixtint {

struct PreparedFile;
struct RunState;

enum class FileStatus {
    Converted,      // replaced by its converted picture (backup in place when asked)
    Unchanged,      // nothing to change: neither the file nor its backup was written
    NotConvertible, // not a 24-bit picture: left alone
    Failed,         // left as it was; `failure` says why
};

struct FileFailure {
    enum class Kind {
        Conversion,       // reading, converting or replacing the file failed
        BackupBlocked,    // its backup name is held by a folder or an entry we may not replace
        BackupNameShared, // another picture of this run already has the same backup name
        BackupNotPlaced,  // converted, but its original could not become the backup
    };
    Kind kind;
    AppError error;
    std::filesystem::path otherPicture; // BackupNameShared: the picture that has the name
    std::filesystem::path keptOriginal; // BackupNotPlaced: where the original is kept instead
};

struct FileOutcome {
    std::size_t index = 0; // position in the list the run was given
    std::filesystem::path path;
    FileStatus status = FileStatus::Failed;
    ConversionResult result; // Converted and Unchanged (and their dry-run forms)
    std::optional<FileFailure> failure;
    std::filesystem::path backup; // Converted with a backup: where the original now is
};

struct BatchOptions {
    bool dryRun = false;           // write nothing; outcomes say what would happen
    bool requireSignature = false; // a file must also start with "BM" (taken whatever its name)
    unsigned jobs = 1;             // files converted at once
    std::size_t groupFiles = 64;   // a group's size, whichever bound is reached first
    std::uint64_t groupBytes = std::uint64_t{64} << 20;
};

struct BatchCallbacks {
    // Every file's outcome, in the order of the list, on the calling thread.
    std::function<void(const FileOutcome&)> outcome;
    // Just before the file at `index` is replaced (its source is still the original), on the
    // calling thread. Optional.
    std::function<void(std::size_t index)> aboutToReplace;
    // Asked between files; true ends the run once the files already converted are in place.
    std::function<bool()> stopRequested;
};

// Converts a list of files in place, in groups: the converted copies of a group are written
// to hidden siblings, flushed to disk together, then each replaces its source in one rename
// and its original becomes its backup, and the folder is flushed. At every moment, a crash
// included, each file is its old or its new picture, and each backup its older content or the
// original. Memory stays bounded whatever the file sizes. Copies left by an interrupted run
// are removed from each folder before the run writes there.
class BatchRun {
public:
    BatchRun(ConversionRequest request, BatchOptions options = {});
    virtual ~BatchRun() = default;

    // Answers false when the run was stopped before its last file.
    bool run(std::span<const std::filesystem::path> files, const BatchCallbacks& callbacks);

protected:
    // Makes the written copies of a group last. Throws AppError; then no file of the group
    // is replaced.
    virtual void flushCopies(std::span<const int> descriptors);

private:
    using Group = std::vector<PreparedFile>;
    Group takeGroup(std::span<const std::filesystem::path> files, std::size_t& next,
                    RunState& state) const;
    bool prepare(Group& group, const BatchCallbacks& callbacks) const;
    void commit(Group& group, const BatchCallbacks& callbacks);
    void flushOrFail(Group& group, std::span<const int> descriptors);

    ConversionRequest request_;
    BatchOptions options_;
};

} // namespace pixtint
