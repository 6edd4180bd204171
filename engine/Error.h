// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

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
    ReadOnlyFile,     // a picture whose mode lets no one write it: kept as it is, whoever runs
};

// Which kind of picture an Unsupported or NotAPicture error refuses, for a face to say it in
// its own words; the English detail text says the same for the command line.
enum class Refused {
    Unnamed,     // no particular kind: a damaged file in general, or not a refusal at all
    NotABmp,     // no "BM" signature
    BitCount,    // a bit count that is not converted
    JpegInside,  // a JPEG stream stored as a BMP's pixels
    PngInside,   // a PNG stream stored as a BMP's pixels
    Compression, // a compression not taken at this bit count
    HeaderSize,  // a header of a size that is not read
    ColourMasks, // 32-bit masks that are not three separate bytes, or alpha over the colours
    Damaged,     // header fields or RLE data that contradict each other
};

struct Refusal {
    Refusal() = default;
    explicit Refusal(Refused what, std::uint32_t number = 0, std::string compression = {})
        : what(what)
        , number(number)
        , compression(std::move(compression)) {}

    Refused what = Refused::Unnamed;
    std::uint32_t number = 0; // the bit count, or the header size for HeaderSize
    std::string compression;  // the compression's name, for Compression
};

// The one exception type of the engine and the conversion core: a kind, the system's errno
// where a system call failed, the path it concerns, and an optional detail in English
// with, for a refused picture, the kind it refuses.
class Error : public std::runtime_error {
public:
    explicit Error(ErrorKind kind, std::filesystem::path path = {}, std::string detail = {},
                   Refusal refusal = {});

    // A failed system call on `path`.
    static Error fromErrno(int errnoValue, std::filesystem::path path);

    ErrorKind kind() const noexcept { return kind_; }
    int systemError() const noexcept { return systemError_; } // 0 unless kind() is System
    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& detail() const noexcept { return detail_; }
    const Refusal& refusal() const noexcept { return refusal_; }

    // The reason in English, without the path: the system's own words for a failed call
    // ("read-only file system"), the program's for the other kinds.
    std::string reason() const;

private:
    Error(ErrorKind kind, int systemError, std::filesystem::path path, std::string detail,
          Refusal refusal);

    ErrorKind kind_;
    int systemError_ = 0;
    std::filesystem::path path_;
    std::string detail_;
    Refusal refusal_;
};

} // namespace pixtint
