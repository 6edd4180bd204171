#pragma once

#include "engine/PosixFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pixtint {

// Whole-file reads and all-or-nothing writes. Every failure is thrown as AppError with the
// number the failure stands for (53 file not found, 76 path not found, 70 permission, ...).

// The whole file as raw bytes.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

// At most the first `count` bytes of the file.
std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t count);

// How far a written file is taken before it counts as written. A flushed file survives a
// crash or a power cut once written. A scratch file, such as the temporary file beside a
// picture, only needs to be whole for whoever reads it next; whoever puts it in a lasting
// place flushes it then (renameOver).
enum class Durability { Flushed, Scratch };

// A file written whole or not at all: the bytes go to a fresh sibling file and commit()
// renames that file over the target in one step, flushing it to disk first unless it is
// scratch. Destroyed without a commit, it removes the sibling and leaves the target as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target,
                              Durability durability = Durability::Flushed);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path sibling_;
    Durability durability_;
    int descriptor_ = -1;
    bool committed_ = false;
};

// A free name to try beside `target`: its name plus "." and six random characters, shortened
// where needed so that a name just within the limit still gets one. Never a listed picture.
std::filesystem::path siblingCandidate(const std::filesystem::path& target);
// How many candidates to try before giving up on a folder full of them.
inline constexpr int MaxSiblingAttempts = 100;

// The random part of the names of our own files beside a user's: six letters or digits.
inline constexpr std::size_t RandomPartLength = 6;
inline constexpr std::string_view RandomPartAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
std::string randomPart();
bool isRandomPart(std::string_view text);

// Creates a file that did not exist, under the first free name `candidate` gives, with the
// permissions of `target` (the file it will stand for) where it has some. Throws AppError
// naming `target`.
UniqueFd createFreshFile(const std::function<std::filesystem::path()>& candidate,
                         const std::filesystem::path& target, std::filesystem::path& created);

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         Durability durability = Durability::Flushed);

// Copies `source` over `target` through an AtomicFileWriter.
void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);

// Flushes `from` to disk, then renames it over `to` in one step (the target, if any, is
// replaced atomically), so that at every moment, a crash included, `to` is either its old or
// its new content. The folder is not flushed: a caller renaming many files flushes it once.
void renameOver(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace pixtint
