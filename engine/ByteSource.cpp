#include "engine/ByteSource.h"

#include <cerrno>
#include <unistd.h>

namespace pixtint {

FileByteSource::FileByteSource(std::filesystem::path path)
    : path_(std::move(path))
    , file_(openRegularFileForReading(path_))
    , size_(currentSize(file_.get(), path_)) {}

std::size_t FileByteSource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    return readFullyAt(file_.get(), offset, buffer, path_);
}

std::size_t readFullyAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> buffer,
                        const std::filesystem::path& path) {
    std::size_t total = 0;
    while (total < buffer.size()) {
        const ssize_t count = ::pread(descriptor, buffer.data() + total, buffer.size() - total,
                                      static_cast<off_t>(offset + total));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throwErrno(errno, path);
        }
        if (count == 0) {
            break;
        }
        total += static_cast<std::size_t>(count);
    }
    return total;
}

} // namespace pixtint
