// SPDX-License-Identifier: MIT
#include "filesafety/FileAttributes.h"

#include "engine/Error.h"
#include "filesafety/PosixFile.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace pixtint {

namespace {

[[noreturn]] void notKept(const std::filesystem::path& path, const std::string& what, int error) {
    throw Error(ErrorKind::AttributeNotKept, path,
                what + " cannot be kept: " + Error::fromErrno(error, {}).reason());
}

// Answers the names, or none where the file system keeps no extended attributes.
std::set<std::string> attributeNames(int file, const std::filesystem::path& path) {
    for (;;) {
        const ssize_t size = ::flistxattr(file, nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP) {
                return {};
            }
            throwErrno(errno, path);
        }
        if (size == 0) {
            return {}; // the usual case: no second call
        }
        std::vector<char> names(static_cast<std::size_t>(size));
        const ssize_t filled = ::flistxattr(file, names.data(), names.size());
        if (filled < 0 && errno == ERANGE) {
            continue; // grew meanwhile
        }
        if (filled < 0) {
            throwErrno(errno, path);
        }
        std::set<std::string> result;
        for (std::size_t at = 0; at < static_cast<std::size_t>(filled);) {
            std::string name(names.data() + at);
            at += name.size() + 1;
            result.insert(std::move(name));
        }
        return result;
    }
}

std::optional<std::vector<char>> attributeValue(int file, const std::string& name) {
    for (;;) {
        const ssize_t size = ::fgetxattr(file, name.c_str(), nullptr, 0);
        if (size < 0) {
            return std::nullopt;
        }
        std::vector<char> value(static_cast<std::size_t>(size));
        const ssize_t filled = ::fgetxattr(file, name.c_str(), value.data(), value.size());
        if (filled >= 0) {
            value.resize(static_cast<std::size_t>(filled));
            return value;
        }
        if (errno != ERANGE) {
            return std::nullopt;
        }
    }
}

// Answers whether the permission bits may have changed since `fresh` was read: a new owner
// clears the set-user-ID and set-group-ID bits.
bool keepOwner(const struct stat& old, const struct stat& fresh, int to,
               const std::filesystem::path& path) {
    if (fresh.st_uid == old.st_uid && fresh.st_gid == old.st_gid) {
        return false;
    }
    if (::fchown(to, old.st_uid, old.st_gid) != 0) {
        notKept(path, fresh.st_uid != old.st_uid ? "owner" : "group", errno);
    }
    return true;
}

// Answers whether it set or removed any: an access list sets the permission bits too.
bool keepExtendedAttributes(int from, int to, const std::filesystem::path& path) {
    bool changed = false;
    const auto wanted = attributeNames(from, path);
    for (const auto& name : wanted) {
        const auto value = attributeValue(from, name);
        if (!value || attributeValue(to, name) == value) {
            continue; // gone meanwhile, or already the same (a label the folder gave)
        }
        if (::fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0) {
            notKept(path, "extended attribute " + name, errno);
        }
        changed = true;
    }
    for (const auto& name : attributeNames(to, path)) {
        // A security label is the system's to give; the rest came from the folder's defaults.
        if (wanted.contains(name) || name.starts_with("security.")) {
            continue;
        }
        if (::fremovexattr(to, name.c_str()) != 0 && errno != ENODATA) {
            notKept(path, "extended attribute " + name, errno);
        }
        changed = true;
    }
    return changed;
}

} // namespace

void keepAttributes(int from, int to, const std::filesystem::path& path) {
    struct stat old {};
    struct stat fresh {};
    if (::fstat(from, &old) != 0 || ::fstat(to, &fresh) != 0) {
        throwErrno(errno, path);
    }
    keepAttributes(old, from, fresh, to, path);
}

void keepAttributes(const struct stat& old, int from, const struct stat& fresh, int to,
                    const std::filesystem::path& path) {
    // The owner first: changing it clears the set-user-ID and set-group-ID bits.
    const bool ownerChanged = keepOwner(old, fresh, to, path);
    const bool attributesChanged = keepExtendedAttributes(from, to, path);
    // After the access list, whose mask the permission bits then agree with. Where nothing
    // above touched them and they already agree (a copy made with the original's
    // permissions), setting them again would change nothing.
    const bool sameBits = (fresh.st_mode & 07777) == (old.st_mode & 07777);
    if ((ownerChanged || attributesChanged || !sameBits) &&
        ::fchmod(to, old.st_mode & 07777) != 0) {
        notKept(path, "permissions", errno);
    }
}

bool isReadOnlyIn(int folder, const std::filesystem::path& name) {
    struct stat status {};
    return ::fstatat(folder, name.filename().c_str(), &status, 0) == 0 && isReadOnly(status);
}

} // namespace pixtint
