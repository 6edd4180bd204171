// SPDX-License-Identifier: MIT
#include "commit/InterruptedCommits.h"

#include "commit/Backup.h"
#include "filesafety/FileContents.h"
#include "filesafety/FolderLock.h"
#include "filesafety/OwnNames.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pixtint {

namespace {

bool sameBytes(int folder, const std::string& one, const std::string& other) {
    const UniqueFd a(::openat(folder, one.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    const UniqueFd b(::openat(folder, other.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (a.get() < 0 || b.get() < 0) {
        return false;
    }
    return sameContents(a.get(), b.get(), one, other);
}

bool sameFile(const struct stat& one, const struct stat& other) {
    return one.st_ino == other.st_ino && one.st_dev == other.st_dev;
}

// The pictures of one backup name, found by the key a held name carries.
struct BackupOwners {
    std::string backup;
    std::vector<ListedFile> pictures;
};

// Whether the held original has another name: a picture (the same file, or the same bytes
// for a copy held where the file system has no hard links) or the backup itself.
bool keepsAnotherName(int folder, const ListedFile& held, const BackupOwners& owners) {
    struct stat backup {};
    if (::fstatat(folder, owners.backup.c_str(), &backup, AT_SYMLINK_NOFOLLOW) == 0 &&
        sameFile(backup, held.status)) {
        return true;
    }
    for (const auto& picture : owners.pictures) {
        if (sameFile(picture.status, held.status)) {
            return true;
        }
        try {
            if (picture.status.st_size == held.status.st_size &&
                sameBytes(folder, held.name, picture.name)) {
                return true;
            }
        } catch (const Error&) {
        }
    }
    return false;
}

Recovery recover(const FolderLock& lock, const ListedFile& held, const BackupOwners& owners,
                 bool dryRun) {
    Recovery recovery;
    recovery.held = lock.path() / held.name;
    recovery.backup = lock.path() / owners.backup;
    if (keepsAnotherName(lock.descriptor(), held, owners)) {
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
    if (!dryRun && ::renameat(lock.descriptor(), held.name.c_str(), lock.descriptor(),
                              owners.backup.c_str()) != 0) {
        recovery.action = Recovery::Action::Kept;
        recovery.reason = Error::fromErrno(errno, recovery.backup);
    }
    return recovery;
}

// Each backup name of the folder's files, by the key a held name carries.
std::map<std::uint64_t, BackupOwners> backupOwners(const std::vector<ListedFile>& files) {
    std::map<std::uint64_t, BackupOwners> owners;
    for (const auto& file : files) {
        if (parseOwnName(file.name)) {
            continue;
        }
        auto backup = backupPathFor(file.name).native();
        if (backup == file.name) {
            continue;
        }
        auto& found = owners[nameKey(backup)];
        if (found.backup.empty()) {
            found.backup = std::move(backup);
        }
        if (found.backup == backupPathFor(file.name).native()) {
            found.pictures.push_back(file);
        }
    }
    return owners;
}

} // namespace

std::vector<Recovery> finishInterruptedCommits(const FolderLock& lock, bool dryRun) {
    const auto files = regularFilesOf(lock.descriptor(), true);
    std::map<std::uint64_t, BackupOwners> owners;
    std::vector<Recovery> recoveries;
    std::size_t othersLeft = 0;
    for (const auto& file : files) {
        const auto own = parseOwnName(file.name);
        if (!own || own->role != OwnRole::Held || own->file != file.status.st_ino) {
            continue;
        }
        if (belongsToAnotherUser(file.status)) {
            ++othersLeft;
            continue;
        }
        if (owners.empty()) {
            owners = backupOwners(regularFilesOf(lock.descriptor(), false));
        }
        const auto found = owners.find(own->key);
        if (found != owners.end()) {
            recoveries.push_back(recover(lock, file, found->second, dryRun));
        }
    }
    // Where there are no hard links, the original a copy swapped out is kept as bytes: in a
    // held original of its picture's backup, or in the backup once that was put in place.
    const auto keptElsewhere = [&](const std::string& name, const std::string& target) {
        const auto sameAs = [&](const std::string& other) {
            try {
                return sameBytes(lock.descriptor(), name, other);
            } catch (const Error&) {
                return false;
            }
        };
        const auto backup = backupPathFor(target).native();
        return sameAs(backup) || std::ranges::any_of(files, [&](const ListedFile& file) {
                   const auto own = parseOwnName(file.name);
                   return own && own->role == OwnRole::Held && own->key == nameKey(backup) &&
                          sameAs(file.name);
               });
    };
    othersLeft += removeLeftoverCopies(lock.descriptor(), dryRun, keptElsewhere);
    if (othersLeft > 0) {
        Recovery others;
        others.action = Recovery::Action::LeftForOwner;
        others.held = lock.path();
        others.count = othersLeft;
        recoveries.push_back(std::move(others));
    }
    if (!dryRun && !recoveries.empty()) {
        ::fsync(lock.descriptor());
    }
    return recoveries;
}

} // namespace pixtint
