// SPDX-License-Identifier: MIT
#pragma once

#include "filesafety/PosixFile.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace pixtint {

class FileSystem;
class FolderLock;

// A new file beside a target, written out of sight and then put in the target's place in one
// step: the one way the program writes over a file. Neither a user's file nor another run can
// ever hold it: it has no name while it is written (O_TMPFILE), or, where the file system
// cannot do that, a hidden name (".NAME.pixtint-" and six random characters) that is created
// under the folder's lock and locked from its first moment. Destroyed before it took the
// target's place, it is gone.
class SiblingFile {
public:
    // Created with the target's permissions where the target exists. A caller that already
    // holds the folder's lock passes it. Throws Error naming the target when the folder takes
    // no new file.
    explicit SiblingFile(std::filesystem::path target, const FolderLock* heldLock = nullptr);
    ~SiblingFile();
    SiblingFile(const SiblingFile&) = delete;
    SiblingFile& operator=(const SiblingFile&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    int descriptor() const { return file_.get(); }
    const std::filesystem::path& target() const { return target_; }
    // Its hidden name; empty while it has none.
    const std::filesystem::path& name() const { return name_; }

    // Gives the file its hidden name, when it has none yet, and closes it with a check: some
    // file systems report a failed write only then. Call it holding the folder's lock, which
    // keeps other runs' clean-up away once the file is closed. Answers the name. Throws Error.
    const std::filesystem::path& nameAndClose(FileSystem& fileSystem);
    // Flushes the file, takes the target's place in one rename and flushes the folder, so
    // that at every moment, a crash included, the target is its old or its new content.
    // Throws Error naming the target.
    void replaceTarget(const FolderLock* heldLock = nullptr);
    // The name no longer holds this file (it took the target's place, or was dealt with by
    // the caller): the destructor leaves it alone.
    void forgetName() { name_.clear(); }

private:
    std::filesystem::path target_;
    std::filesystem::path name_; // empty while unnamed
    UniqueFd file_;
};

// Writes `bytes` to a sibling, flushes it, renames it over `target` and flushes the folder,
// so that at every moment, a crash included, `target` is its old or its new content. Throws
// Error naming `target`.
void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// True for the name SiblingFile gives its files.
bool isSiblingFileName(std::string_view name);

// Removes the sibling files an interrupted run left in the folder open as `folder`: they
// never hold the only copy of anything. Call it holding the folder's lock; a file another run
// still writes is locked and left alone. Best effort: what cannot be removed stays.
void removeLeftoverSiblings(int folder) noexcept;

// The random part of the names of our own files beside a user's: six letters or digits.
inline constexpr std::size_t RandomPartLength = 6;
std::string randomPart();
bool isRandomPart(std::string_view text);
// How many names to try before giving up on a folder full of them.
inline constexpr int MaxNameAttempts = 100;

} // namespace pixtint
