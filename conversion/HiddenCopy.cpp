#include "conversion/HiddenCopy.h"

#include "engine/AppError.h"
#include "engine/FileBytes.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

namespace {

constexpr std::string_view Marker = ".pixtint-";

// A name just within the file system's limit is shortened, so that it still gets a copy.
std::filesystem::path copyCandidate(const std::filesystem::path& picture) {
    constexpr std::size_t Extra = 1 + Marker.size() + RandomPartLength;
    std::string name = picture.filename().native();
    if (name.size() > NAME_MAX - Extra) {
        name.resize(NAME_MAX - Extra);
    }
    return picture.parent_path() / ("." + name + std::string(Marker) + randomPart());
}

void removeIfUnheld(int folder, const char* name) {
    const UniqueFd copy(::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat status {};
    if (copy.get() < 0 || ::fstat(copy.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return;
    }
    if (::flock(copy.get(), LOCK_EX | LOCK_NB) == 0) {
        ::unlinkat(folder, name, 0);
    }
}

} // namespace

HiddenCopy::HiddenCopy(std::filesystem::path picture)
    : picture_(std::move(picture))
    , file_(createFreshFile([this] { return copyCandidate(picture_); }, picture_, path_)) {
    ::flock(file_.get(), LOCK_EX);
}

HiddenCopy::~HiddenCopy() {
    if (!replaced_) {
        ::unlink(path_.c_str());
    }
}

void HiddenCopy::write(std::span<const std::uint8_t> bytes) {
    writeFully(file_.get(), bytes, picture_);
}

void HiddenCopy::replacePicture() {
    if (::rename(path_.c_str(), picture_.c_str()) != 0) {
        const int renameErrno = errno;
        struct stat status {};
        // ENOENT may mean either end is missing; name the picture only when it is the one.
        if (renameErrno == ENOENT && ::lstat(path_.c_str(), &status) != 0) {
            throwErrno(EIO, picture_);
        }
        throwErrno(renameErrno, picture_);
    }
    replaced_ = true;
}

bool isHiddenCopyName(std::string_view name) {
    const std::size_t marker = name.rfind(Marker);
    return name.size() > 1 && name.front() == '.' && marker != std::string_view::npos &&
           marker > 1 && isRandomPart(name.substr(marker + Marker.size()));
}

void removeLeftoverCopies(const std::filesystem::path& folder) noexcept {
    const auto& name = folder.empty() ? std::filesystem::path(".") : folder;
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(name.c_str()), ::closedir);
    if (!entries) {
        return;
    }
    while (const dirent* entry = ::readdir(entries.get())) {
        if (isHiddenCopyName(entry->d_name)) {
            removeIfUnheld(::dirfd(entries.get()), entry->d_name);
        }
    }
}

} // namespace pixtint
