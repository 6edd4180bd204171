// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace pixtint {

// What went wrong, as the engine and the conversion core see it. Each face turns a kind into
// its own words: the window into its numbered Japanese messages, the command line into an
// English sentence.
enum class ErrorKind {
    System,           // a system call failed: systemError() holds its errno
    OutOfMemory,      // the file does not fit in memory
    NotAPicture,      // no BMP header the program can read
    TooShort,         // the file ends before the header fields the program reads
    NoPixels,         // the file ends before its first pixel
    Truncated,        // a picture to be grown whose rows are not all in the file
    InvalidWidth,     // a width of 0 or less
    Unsupported,      // a kind of BMP the program does not convert; detail() says which
    NoPaletteRoom,    // a grown palette picture has no entry for the new row's colour
    ChangedDuringRun, // another program changed or replaced the picture after it was read
    NotABackup,       // the backup name holds something that is not an earlier backup
    AttributeNotKept, // the new file cannot have the owner or an attribute of the old one
};

// The one exception type of the engine and the conversion core: a kind, the system's errno
// where a system call failed, the path it concerns, and an optional detail in English.
class Error : public std::runtime_error {
public:
    explicit Error(ErrorKind kind, std::filesystem::path path = {}, std::string detail = {});

    // A failed system call on `path`.
    static Error fromErrno(int errnoValue, std::filesystem::path path);

    ErrorKind kind() const noexcept { return kind_; }
    int systemError() const noexcept { return systemError_; } // 0 unless kind() is System
    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& detail() const noexcept { return detail_; }

    // The reason in English, without the path: the system's own words for a failed call
    // ("read-only file system"), the program's for the other kinds.
    std::string reason() const;

private:
    Error(ErrorKind kind, int systemError, std::filesystem::path path, std::string detail);

    ErrorKind kind_;
    int systemError_ = 0;
    std::filesystem::path path_;
    std::string detail_;
};

} // namespace pixtint
