#include "engine/FileBytes.h"

#include "engine/AppError.h"
#include "engine/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

namespace {

constexpr std::size_t StreamChunkSize = std::size_t{1} << 20;
constexpr std::size_t SmallestStep = 64;
constexpr std::size_t SiblingSuffixLength = 1 + RandomPartLength; // "." and the random part

} // namespace

std::string randomPart() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, RandomPartAlphabet.size() - 1);
    std::string part;
    while (part.size() < RandomPartLength) {
        part += RandomPartAlphabet[pick(generator)];
    }
    return part;
}

bool isRandomPart(std::string_view text) {
    return text.size() == RandomPartLength &&
           text.find_first_not_of(RandomPartAlphabet) == std::string_view::npos;
}

std::filesystem::path siblingCandidate(const std::filesystem::path& target) {
    std::string name = target.filename().native();
    if (name.size() > NAME_MAX - SiblingSuffixLength) {
        name.resize(NAME_MAX - SiblingSuffixLength);
    }
    return target.parent_path() / (name + "." + randomPart());
}

namespace {

// Created with mode 0666 so that the umask applies, as for any new file; an existing
// target's permissions are carried over, so that rewriting a file does not change them.
void adoptTargetPermissions(int descriptor, const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        ::fchmod(descriptor, status.st_mode & 07777);
    }
}

} // namespace

UniqueFd createFreshFile(const std::function<std::filesystem::path()>& candidate,
                         const std::filesystem::path& target, std::filesystem::path& created) {
    for (int attempt = 0; attempt < MaxSiblingAttempts; ++attempt) {
        created = candidate();
        UniqueFd file(
            ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (file.get() >= 0) {
            adoptTargetPermissions(file.get(), target);
            return file;
        }
        if (errno != EEXIST) {
            throwErrno(errno, target);
        }
    }
    throwErrno(EEXIST, target);
}

namespace {

std::vector<std::uint8_t> readUpTo(const std::filesystem::path& path, std::size_t limit) {
    const UniqueFd file = openRegularFileForReading(path);
    // One read more than the file's size finds its end; a file that grows meanwhile is read on.
    const auto step = static_cast<std::size_t>(std::clamp<std::uint64_t>(
        currentSize(file.get(), path) + 1, SmallestStep, StreamChunkSize));
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::size_t start = bytes.size();
        const std::size_t wanted = std::min(step, limit - start);
        if (wanted == 0) {
            break;
        }
        bytes.resize(start + wanted);
        const std::size_t count = readFully(file.get(), std::span(bytes).subspan(start), path);
        bytes.resize(start + count);
        if (count < wanted) {
            break;
        }
    }
    return bytes;
}

} // namespace

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path) {
    try {
        return readUpTo(path, SIZE_MAX);
    } catch (const std::bad_alloc&) {
        throw AppError(ErrorNumber::OutOfMemory); // a file larger than memory is a user's error
    }
}

std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t count) {
    return readUpTo(path, count);
}

namespace {

void flushToDisk(const std::filesystem::path& path) {
    const UniqueFd file = openRegularFileForReading(path);
    if (::fsync(file.get()) != 0) {
        throwErrno(errno, path);
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target, Durability durability)
    : target_(std::move(target))
    , durability_(durability) {
    descriptor_ =
        createFreshFile([this] { return siblingCandidate(target_); }, target_, sibling_).release();
}

AtomicFileWriter::~AtomicFileWriter() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
    if (!committed_) {
        ::unlink(sibling_.c_str());
    }
}

void AtomicFileWriter::write(std::span<const std::uint8_t> bytes) {
    if (descriptor_ < 0) {
        throw AppError(ErrorNumber::InvalidArgument);
    }
    writeFully(descriptor_, bytes, target_);
}

void AtomicFileWriter::commit() {
    if (descriptor_ < 0) {
        throw AppError(ErrorNumber::InvalidArgument);
    }
    UniqueFd file(descriptor_);
    descriptor_ = -1;
    if (durability_ == Durability::Flushed && ::fsync(file.get()) != 0) {
        throwErrno(errno, target_);
    }
    // Some file systems report a failed write only when the file is closed.
    if (::close(file.release()) != 0) {
        throwErrno(errno, target_);
    }
    if (::rename(sibling_.c_str(), target_.c_str()) != 0) {
        throwErrno(errno, target_);
    }
    committed_ = true;
    if (durability_ == Durability::Flushed) {
        syncFolderOf(target_);
    }
}

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         Durability durability) {
    AtomicFileWriter writer(target, durability);
    writer.write(bytes);
    writer.commit();
}

void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    const UniqueFd input = openRegularFileForReading(source);
    AtomicFileWriter writer(target);
    std::vector<std::uint8_t> buffer(StreamChunkSize);
    for (;;) {
        const std::size_t count = readFully(input.get(), buffer, source);
        writer.write(std::span(buffer).first(count));
        if (count < buffer.size()) {
            break;
        }
    }
    writer.commit();
}

void renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    flushToDisk(from);
    if (::rename(from.c_str(), to.c_str()) == 0) {
        return;
    }
    const int renameErrno = errno;
    // ENOENT may mean either end is missing; name the one that is.
    struct stat status {};
    if (renameErrno == ENOENT && ::lstat(from.c_str(), &status) != 0) {
        throwErrno(errno, from);
    }
    throwErrno(renameErrno, to);
}

} // namespace pixtint
