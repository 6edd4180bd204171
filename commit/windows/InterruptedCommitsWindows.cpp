// SPDX-License-Identifier: MIT
// commit/InterruptedCommits.h on Windows: the same recovery, by file numbers and names.
#include "commit/Backup.h"
#include "commit/InterruptedCommits.h"
#include "engine/PathText.h"
#include "filesafety/FileContents.h"
#include "filesafety/FolderLock.h"
#include "filesafety/OwnNames.h"
#include "filesafety/PosixFile.h"
#include "filesafety/SiblingFile.h"
#include "filesafety/windows/WindowsFile.h"

#include <algorithm>
#include <map>
#include <vector>

namespace pixtint {

namespace {

bool sameBytes(const std::filesystem::path& one, const std::filesystem::path& other) {
    constexpr DWORD Share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const UniqueFd a(descriptorOf(openFile(one, GENERIC_READ, Share)));
    const UniqueFd b(descriptorOf(openFile(other, GENERIC_READ, Share)));
    if (a.get() < 0 || b.get() < 0) {
        return false;
    }
    return sameContents(a.get(), b.get(), one, other);
}

struct BackupOwners {
    std::string backup;
    std::vector<ListedFile> pictures;
};

bool keepsAnotherName(const std::filesystem::path& folder, const ListedFile& held,
                      const BackupOwners& owners, const std::vector<ListedFile>& files) {
    const auto backup = std::ranges::find_if(files, [&](const ListedFile& file) {
        return upperCase(pathOf(file.name).native()) == upperCase(pathOf(owners.backup).native());
    });
    if (backup != files.end() && sameFile(backup->status, held.status)) {
        return true;
    }
    return std::ranges::any_of(owners.pictures, [&](const ListedFile& picture) {
        try {
            return sameFile(picture.status, held.status) ||
                   (picture.status.st_size == held.status.st_size &&
                    sameBytes(folder / pathOf(held.name), folder / pathOf(picture.name)));
        } catch (const Error&) {
            return false;
        }
    });
}

Recovery recover(const FolderLock& lock, const ListedFile& held, const BackupOwners& owners,
                 const std::vector<ListedFile>& files, bool dryRun) {
    Recovery recovery;
    recovery.held = lock.path() / pathOf(held.name);
    recovery.backup = lock.path() / pathOf(owners.backup);
    if (keepsAnotherName(lock.path(), held, owners, files)) {
        recovery.action = Recovery::Action::Removed;
        if (!dryRun && !::DeleteFileW(longPath(recovery.held).c_str())) {
            recovery.action = Recovery::Action::Kept;
            recovery.reason = Error::fromErrno(errnoOf(::GetLastError()), recovery.held);
        }
        return recovery;
    }
    if (auto refused = backupPlaceRefused(recovery.backup)) {
        recovery.reason = std::move(refused);
        return recovery;
    }
    recovery.action = Recovery::Action::MadeBackup;
    if (!dryRun) {
        if (const int failure = moveFile(recovery.held, recovery.backup, true)) {
            recovery.action = Recovery::Action::Kept;
            recovery.reason = Error::fromErrno(failure, recovery.backup);
        }
    }
    return recovery;
}

std::map<std::uint64_t, BackupOwners> backupOwners(const std::vector<ListedFile>& files) {
    std::map<std::uint64_t, BackupOwners> owners;
    for (const auto& file : files) {
        if (parseOwnName(file.name)) {
            continue;
        }
        auto backup = textOf(backupPathFor(pathOf(file.name)));
        if (backup == file.name) {
            continue;
        }
        auto& found = owners[nameKey(backup)];
        if (found.backup.empty()) {
            found.backup = std::move(backup);
        }
        found.pictures.push_back(file);
    }
    return owners;
}

} // namespace

std::vector<Recovery> finishInterruptedCommits(const FolderLock& lock, bool dryRun) {
    const auto held = regularFilesOf(lock.descriptor(), true);
    std::vector<ListedFile> files;
    std::map<std::uint64_t, BackupOwners> owners;
    std::vector<Recovery> recoveries;
    for (const auto& file : held) {
        const auto own = parseOwnName(file.name);
        if (!own || own->role != OwnRole::Held || own->file != file.status.st_ino) {
            continue;
        }
        if (files.empty()) {
            files = regularFilesOf(lock.descriptor(), false);
            owners = backupOwners(files);
        }
        const auto found = owners.find(own->key);
        if (found != owners.end()) {
            recoveries.push_back(recover(lock, file, found->second, files, dryRun));
        }
    }
    removeLeftoverCopies(lock.descriptor(), dryRun);
    return recoveries;
}

} // namespace pixtint
