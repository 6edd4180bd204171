#include "conversion/HeldOriginal.h"

#include "engine/FileBytes.h"
#include "engine/PosixFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace pixtint {

namespace {

// Answers 0, or the errno of the failure.
int hardLink(const std::filesystem::path& picture, const std::filesystem::path& held) {
    // A picture reached through a symbolic link is held by the file the link names, which
    // the conversion leaves alone when it replaces the link.
    if (::linkat(AT_FDCWD, picture.c_str(), AT_FDCWD, held.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    return errno;
}

// Answers false when the name is taken; any other failure is thrown.
bool claimAndCopy(const std::filesystem::path& picture, const std::filesystem::path& held) {
    // The name is claimed first, so that the copy never replaces a file that is not ours.
    const UniqueFd claim(
        ::open(held.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (claim.get() < 0) {
        if (errno == EEXIST) {
            return false;
        }
        throwErrno(errno, held);
    }
    try {
        copyFileAtomically(picture, held);
    } catch (...) {
        ::unlink(held.c_str());
        throw;
    }
    return true;
}

} // namespace

HeldOriginal::HeldOriginal(const std::filesystem::path& picture, std::filesystem::path backup)
    : backup_(std::move(backup)) {
    for (int attempt = 0; attempt < MaxSiblingAttempts; ++attempt) {
        held_ = siblingCandidate(backup_);
        const int linkError = hardLink(picture, held_);
        if (linkError == EEXIST) {
            continue;
        }
        // Without a link (no hard links on this file system, or a picture linked in from
        // another one) the bytes are copied.
        if (linkError == 0 || claimAndCopy(picture, held_)) {
            holding_ = true;
            return;
        }
    }
    throwErrno(EEXIST, backup_);
}

HeldOriginal::~HeldOriginal() {
    if (holding_) {
        ::unlink(held_.c_str());
    }
}

void HeldOriginal::commit() {
    holding_ = false;
    if (::rename(held_.c_str(), backup_.c_str()) != 0) {
        throwErrno(errno, backup_);
    }
}

} // namespace pixtint
