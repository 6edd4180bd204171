#include "conversion/HiddenCopy.h"

#include "engine/AppError.h"
#include "engine/FileBytes.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

namespace {

constexpr std::string_view Marker = ".pixtint-";
constexpr std::size_t RandomLength = 6;
constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string randomPart() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(Alphabet) - 2);
    std::string part;
    while (part.size() < RandomLength) {
        part += Alphabet[pick(generator)];
    }
    return part;
}

// A name just within the file system's limit is shortened, so that it still gets a copy.
std::filesystem::path copyCandidate(const std::filesystem::path& picture) {
    constexpr std::size_t Extra = 1 + Marker.size() + RandomLength;
    std::string name = picture.filename().native();
    if (name.size() > NAME_MAX - Extra) {
        name.resize(NAME_MAX - Extra);
    }
    return picture.parent_path() / ("." + name + std::string(Marker) + randomPart());
}

UniqueFd createCopy(const std::filesystem::path& picture, std::filesystem::path& path) {
    for (int attempt = 0; attempt < MaxSiblingAttempts; ++attempt) {
        path = copyCandidate(picture);
        UniqueFd file(
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (file.get() >= 0) {
            return file;
        }
        if (errno != EEXIST) {
            throwErrno(errno, picture);
        }
    }
    throwErrno(EEXIST, picture);
}

// The copy takes the picture's place, so it takes its permissions too.
void adoptPermissions(int descriptor, const std::filesystem::path& picture) {
    struct stat status {};
    if (::stat(picture.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        ::fchmod(descriptor, status.st_mode & 07777);
    }
}

bool isRandomPart(std::string_view text) {
    return text.size() == RandomLength &&
           text.find_first_not_of(std::string_view(Alphabet, sizeof(Alphabet) - 1)) ==
               std::string_view::npos;
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
    , file_(createCopy(picture_, path_)) {
    ::flock(file_.get(), LOCK_EX);
    adoptPermissions(file_.get(), picture_);
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
