// SPDX-License-Identifier: MIT
// filesafety/SiblingFile.h on Windows: the copy is created hidden under a short-lived name,
// open without any sharing (no other program and no other run's clean-up can open it while it
// is written), and renamed through its own handle to its own name as soon as its file number
// is known.
#include "engine/Error.h"
#include "engine/PathText.h"
#include "filesafety/FolderLock.h"
#include "filesafety/OwnNames.h"
#include "filesafety/SiblingFile.h"
#include "filesafety/windows/WindowsFile.h"

#include <cerrno>
#include <optional>
#include <vector>

namespace pixtint {

namespace {

std::filesystem::path ownNameFor(const std::filesystem::path& target, FileNumber file,
                                 FileNumber replaces) {
    return folderOf(target) /
           pathOf(ownName(textOf(target.filename()), OwnRole::Copy, file, replaces));
}

// Renames the file open as `handle` (opened with DELETE access) to `to`.
DWORD renameOpenFile(HANDLE handle, const std::filesystem::path& to) {
    const std::wstring name = longPath(to);
    const std::size_t size = sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(size);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    return ::SetFileInformationByHandle(handle, FileRenameInfo, rename, static_cast<DWORD>(size))
               ? ERROR_SUCCESS
               : ::GetLastError();
}

std::optional<FileState> regularTarget(const std::filesystem::path& target) {
    const auto state = stateAt(target);
    if (state && (state->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return state;
}

} // namespace

SiblingFile::SiblingFile(std::filesystem::path target, const FolderLock*, FileSystem& fileSystem,
                         const FileState* openTarget)
    : target_(std::move(target))
    , fileSystem_(fileSystem) {
    const auto existing = openTarget ? std::optional(*openTarget) : regularTarget(target_);
    replaces_ = existing ? existing->st_ino : 0;
    std::filesystem::path made;
    for (int attempt = 0; attempt < MaxNameAttempts && file_.get() < 0; ++attempt) {
        made = folderOf(target_) / pathOf(transientName(textOf(target_.filename())));
        file_ = UniqueFd(descriptorOf(openFile(made, GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                               CREATE_NEW, FILE_ATTRIBUTE_HIDDEN)));
        if (file_.get() < 0 && ::GetLastError() != ERROR_FILE_EXISTS) {
            throwWindowsError(::GetLastError(), target_);
        }
    }
    if (file_.get() < 0) {
        throwErrno(EEXIST, target_);
    }
    try {
        status_ = stateOf(handleOf(file_.get()), target_);
        auto own = ownNameFor(target_, status_.st_ino, replaces_);
        if (const DWORD failure = renameOpenFile(handleOf(file_.get()), own)) {
            throwWindowsError(failure, target_);
        }
        name_ = std::move(own);
    } catch (const Error&) {
        file_ = UniqueFd();
        ::DeleteFileW(longPath(made).c_str());
        throw;
    }
}

SiblingFile::~SiblingFile() {
    if (!name_.empty()) {
        file_ = UniqueFd();
        ::DeleteFileW(longPath(name_).c_str());
    }
}

void SiblingFile::write(std::span<const std::uint8_t> bytes) {
    if (file_.get() < 0) {
        throwErrno(EBADF, target_);
    }
    writeFully(file_.get(), bytes, target_);
}

// Windows names the copy when it is made (see above): only the close is left.
const std::filesystem::path& SiblingFile::nameAndClose(const FolderLock& /*lock*/,
                                                       FileSystem& fileSystem) {
    if (file_.get() < 0) {
        throwErrno(EBADF, target_);
    }
    if (const int failure = fileSystem.closeFile(file_.release())) {
        throwErrno(failure, target_);
    }
    return name_;
}

void SiblingFile::replaceTarget(const FolderLock* heldLock) {
    if (const int failure = fileSystem_.syncFile(file_.get())) {
        throwErrno(failure, target_);
    }
    std::optional<FolderLock> lock;
    if (!heldLock) {
        lock.emplace(folderOf(target_));
    }
    const auto& name = nameAndClose(heldLock ? *heldLock : *lock, fileSystem_);
    if (const int failure = moveFile(name, target_, true)) {
        throwErrno(failure, target_);
    }
    forgetName();
}

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         FileSystem& fileSystem) {
    SiblingFile file(target, nullptr, fileSystem);
    file.write(bytes);
    file.replaceTarget();
}

bool belongsToAnotherUser(const FileState&) {
    return false; // a file this user may not remove stays where it is in any case
}

std::vector<ListedFile> regularFilesOf(int folder, bool ownNamesOnly) {
    std::vector<ListedFile> files;
    const auto at = folderPathOf(folder);
    if (at.empty()) {
        return files;
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW((at / L"*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
            0) {
            continue;
        }
        ListedFile file{textOf(std::filesystem::path(found.cFileName)), {}};
        if (ownNamesOnly && !parseOwnName(file.name)) {
            continue;
        }
        const UniqueFd entry(
            descriptorOf(openFile(at / found.cFileName, FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)));
        if (entry.get() < 0) {
            continue;
        }
        try {
            file.status = stateOf(handleOf(entry.get()), at / found.cFileName);
            files.push_back(std::move(file));
        } catch (const Error&) {
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return files;
}

// A copy is removed only while it is still the copy its name says, and only when it can be
// opened without sharing: a copy another run still writes is open, and stays. Windows never
// exchanges two names, so a copy's name never holds an original.
std::size_t removeLeftoverCopies(int folder, bool dryRun, const KeptElsewhere&) noexcept {
    try {
        const auto at = folderPathOf(folder);
        for (const auto& file : regularFilesOf(folder, true)) {
            const auto name = parseOwnName(file.name);
            if (!name || name->role != OwnRole::Copy || file.status.st_ino != name->file ||
                dryRun) {
                continue;
            }
            const UniqueFd copy(descriptorOf(openFile(at / pathOf(file.name), DELETE, 0)));
            if (copy.get() < 0 || stateOf(handleOf(copy.get()), file.name).st_ino != name->file) {
                continue;
            }
            FILE_DISPOSITION_INFO remove{TRUE};
            ::SetFileInformationByHandle(handleOf(copy.get()), FileDispositionInfo, &remove,
                                         sizeof remove);
        }
    } catch (const std::exception&) {
        // Best effort: what cannot be looked at stays.
    }
    return 0;
}

} // namespace pixtint
