#pragma once

#include "conversion/BatchRun.h"
#include "conversion/HeldOriginal.h"
#include "conversion/HiddenCopy.h"
#include "engine/ByteSource.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace pixtint {

// One file of a batch from its test to its commit: what was decided about it, and, once its
// converted copy is written, the copy and the held original waiting for the group's commit.
struct PreparedFile {
    std::size_t index = 0;
    std::filesystem::path path;
    FileStatus status = FileStatus::Converted; // until decided otherwise
    ConversionResult result;
    std::optional<FileFailure> failure;
    std::filesystem::path backup;           // empty when no backup is kept
    std::unique_ptr<FileByteSource> source; // open from the test until it is converted
    std::unique_ptr<HiddenCopy> copy;
    std::unique_ptr<HeldOriginal> held;

    bool decided() const { return status != FileStatus::Converted || failure.has_value(); }
    void fail(FileFailure::Kind kind, const AppError& error);
    FileOutcome outcome() const;
};

// Opens the file and tests whether it is a picture the run converts; marks it not
// convertible, or failed when it cannot be read. The file stays open for its conversion.
void testConvertibility(PreparedFile& file, const BatchOptions& options);

// Converts an undecided file: in a dry run only to count, otherwise into its hidden copy. A
// file whose bytes would not change is marked unchanged and nothing is written for it. Never
// throws: a failure is the file's outcome.
void prepareFile(PreparedFile& file, const ConversionRequest& request, const BatchOptions& options);

} // namespace pixtint
