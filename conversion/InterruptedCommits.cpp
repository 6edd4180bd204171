// SPDX-License-Identifier: MIT
#include "conversion/InterruptedCommits.h"

#include "conversion/Backup.h"
#include "filesafety/FolderLock.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pixtint {

namespace {

constexpr std::string_view BackupEnding = ".bak";

std::vector<std::string> entriesOf(int folder) {
    std::vector<std::string> names;
    const int listing = ::dup(folder);
    if (listing < 0) {
        return names;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::fdopendir(listing), ::closedir);
    if (!entries) {
        ::close(listing);
        return names;
    }
    ::rewinddir(entries.get());
    while (const dirent* entry = ::readdir(entries.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    return names;
}

// The backup name a held original's name stands for: "NAME.bak" before ".XXXXXX".
std::optional<std::string> heldBackupName(std::string_view name) {
    constexpr std::size_t Suffix = 1 + RandomPartLength;
    if (name.size() <= Suffix + BackupEnding.size() || name[name.size() - Suffix] != '.' ||
        !isRandomPart(name.substr(name.size() - RandomPartLength))) {
        return std::nullopt;
    }
    const auto backup = name.substr(0, name.size() - Suffix);
    if (!backup.ends_with(BackupEnding)) {
        return std::nullopt;
    }
    return std::string(backup);
}

struct Entry {
    std::string name;
    struct stat status {};
};

bool sameBytes(int folder, const std::string& one, const std::string& other) {
    const UniqueFd a(::openat(folder, one.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    const UniqueFd b(::openat(folder, other.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (a.get() < 0 || b.get() < 0) {
        return false;
    }
    std::vector<std::uint8_t> left(1 << 16);
    std::vector<std::uint8_t> right(1 << 16);
    for (std::uint64_t offset = 0;; offset += left.size()) {
        const std::size_t count = readFullyAt(a.get(), offset, left, one);
        if (readFullyAt(b.get(), offset, right, other) != count ||
            !std::equal(left.begin(), left.begin() + count, right.begin())) {
            return false;
        }
        if (count < left.size()) {
            return true;
        }
    }
}

bool isPictureItself(int folder, const Entry& held, const std::vector<Entry>& pictures) {
    for (const auto& picture : pictures) {
        if (picture.status.st_ino == held.status.st_ino &&
            picture.status.st_dev == held.status.st_dev) {
            return true;
        }
        try {
            if (picture.status.st_size == held.status.st_size &&
                sameBytes(folder, held.name, picture.name)) {
                return true; // a copy held where the file system has no hard links
            }
        } catch (const Error&) {
        }
    }
    return false;
}

Recovery recover(const FolderLock& lock, const Entry& held, const std::string& backupName,
                 const std::vector<Entry>& pictures, bool dryRun) {
    Recovery recovery;
    recovery.held = lock.path() / held.name;
    recovery.backup = lock.path() / backupName;
    if (isPictureItself(lock.descriptor(), held, pictures)) {
        recovery.action = Recovery::Action::Removed;
        if (!dryRun && ::unlinkat(lock.descriptor(), held.name.c_str(), 0) != 0) {
            recovery.action = Recovery::Action::Kept;
            recovery.reason = Error::fromErrno(errno, recovery.held);
        }
        return recovery;
    }
    if (auto refused = backupPlaceRefused(recovery.backup)) {
        recovery.reason = std::move(refused);
        return recovery;
    }
    recovery.action = Recovery::Action::MadeBackup;
    if (!dryRun &&
        ::renameat(lock.descriptor(), held.name.c_str(), lock.descriptor(), backupName.c_str())) {
        recovery.action = Recovery::Action::Kept;
        recovery.reason = Error::fromErrno(errno, recovery.backup);
    }
    return recovery;
}

} // namespace

std::vector<Recovery> finishInterruptedCommits(const FolderLock& lock, bool dryRun) {
    std::map<std::string, std::vector<Entry>> picturesByBackup;
    std::vector<std::pair<Entry, std::string>> held; // with the backup name it stands for
    for (auto& name : entriesOf(lock.descriptor())) {
        Entry entry{std::move(name), {}};
        if (isSiblingFileName(entry.name) ||
            ::fstatat(lock.descriptor(), entry.name.c_str(), &entry.status, AT_SYMLINK_NOFOLLOW) !=
                0 ||
            !S_ISREG(entry.status.st_mode)) {
            continue;
        }
        if (auto stoodFor = heldBackupName(entry.name)) {
            held.emplace_back(std::move(entry), std::move(*stoodFor));
        } else if (auto backup = backupPathFor(entry.name).native(); backup != entry.name) {
            picturesByBackup[backup].push_back(std::move(entry));
        }
    }
    std::vector<Recovery> recoveries;
    for (const auto& [entry, backupName] : held) {
        const auto pictures = picturesByBackup.find(backupName);
        if (pictures != picturesByBackup.end()) {
            recoveries.push_back(recover(lock, entry, backupName, pictures->second, dryRun));
        }
    }
    if (!dryRun) {
        removeLeftoverSiblings(lock.descriptor());
        if (!recoveries.empty()) {
            ::fsync(lock.descriptor());
        }
    }
    return recoveries;
}

} // namespace pixtint
