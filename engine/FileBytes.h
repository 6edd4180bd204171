#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// Whole-file reads and all-or-nothing writes. Every failure is thrown as AppError with the
// number the failure stands for (53 file not found, 76 path not found, 70 permission, ...).

// The whole file as raw bytes.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

// At most the first `count` bytes of the file.
std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t count);

// A file written whole or not at all: the bytes go to a fresh sibling file, are flushed to
// disk, and commit() renames that file over the target in one step. Destroyed without a
// commit, it removes the sibling and leaves the target as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path sibling_;
    int descriptor_ = -1;
    bool committed_ = false;
};

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// Copies `source` over `target` through an AtomicFileWriter.
void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);

// Renames `from` over `to` in one step (the target, if any, is replaced atomically).
void renameOver(const std::filesystem::path& from, const std::filesystem::path& to);
