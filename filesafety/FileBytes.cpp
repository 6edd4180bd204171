// SPDX-License-Identifier: MIT
#include "filesafety/FileBytes.h"

#include "engine/Error.h"
#include "filesafety/PosixFile.h"

#include <algorithm>
#include <new>

namespace pixtint {

namespace {

constexpr std::size_t StreamChunkSize = std::size_t{1} << 20;
constexpr std::size_t SmallestStep = 64;

} // namespace

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path) try {
    const UniqueFd file = openRegularFileForReading(path);
    // One read more than the file's size finds its end; a file that grows meanwhile is read on.
    const auto step = static_cast<std::size_t>(std::clamp<std::uint64_t>(
        currentSize(file.get(), path) + 1, SmallestStep, StreamChunkSize));
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::size_t start = bytes.size();
        bytes.resize(start + step);
        const std::size_t count = readFully(file.get(), std::span(bytes).subspan(start), path);
        bytes.resize(start + count);
        if (count < step) {
            return bytes;
        }
    }
} catch (const std::bad_alloc&) {
    throw Error(ErrorKind::OutOfMemory, path); // a file larger than memory is a user's error
}

} // namespace pixtint
