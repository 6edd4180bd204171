// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <ctime>
#include <sys/stat.h>
#include <sys/types.h>

namespace pixtint {

#ifdef _WIN32
// What Windows tells of an open file (GetFileInformationByHandle and its basic information),
// under the names POSIX gives the same facts, so that code which only carries a file's state
// from its read to its commit reads the same on both systems.
struct FileState {
    std::uint64_t st_dev = 0;     // the volume's serial number
    std::uint64_t st_ino = 0;     // the file's number on its volume (its file index)
    std::int64_t st_size = 0;     // in bytes
    std::uint32_t st_nlink = 0;   // how many names the file has
    std::uint32_t attributes = 0; // FILE_ATTRIBUTE_*
    timespec st_mtim{};           // last write
    timespec st_ctim{};           // last change of its bytes or its attributes
};
// A file's number on its volume: 64 bits on Windows, where ino_t has 16.
using FileNumber = std::uint64_t;
#else
using FileState = struct stat;
using FileNumber = ino_t;
#endif

} // namespace pixtint
