// SPDX-License-Identifier: MIT
#include "cli/InputFiles.h"

#include "scan/FolderScan.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unordered_set>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

bool isFolderItself(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::optional<Error> unreadableFolder(const fs::path& folder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), ::closedir);
    if (!directory) {
        return Error::fromErrno(errno, folder);
    }
    return std::nullopt;
}

// The same file reached through another path has the same real path.
std::string identityOf(const fs::path& path) {
    const std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
    return real ? std::string(real.get()) : path.native();
}

// An entry that is no link has the real path of its folder with its own name after it, so a
// folder's real path is worked out once, not again for every picture in it.
std::string identityInFolder(const std::string& realFolder, const fs::path& folder,
                             const std::string& name, const struct stat& entry) {
    if (S_ISLNK(entry.st_mode)) {
        return identityOf(folder / name);
    }
    return realFolder == "/" ? "/" + name : realFolder + "/" + name;
}

class Collector {
public:
    explicit Collector(bool recursive)
        : recursive_(recursive) {}

    void addArgument(const fs::path& path) {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            files_.push_back({path, Error::fromErrno(errno, path)});
        } else if (S_ISDIR(status.st_mode)) {
            addFolder(path);
        } else {
            addFile(path, identityOf(path));
        }
    }

    std::vector<InputFile> take() { return std::move(files_); }

private:
    void addFile(const fs::path& path, std::string identity) {
        if (seen_.insert(std::move(identity)).second) {
            files_.push_back({path, std::nullopt});
        }
    }

    void addFolder(const fs::path& folder) {
        if (auto problem = unreadableFolder(folder)) {
            files_.push_back({folder, std::move(problem)});
            return;
        }
        const auto names = matchingNames((folder / "*").string());
        const std::string realFolder = identityOf(folder);
        for (const auto& name : names) {
            if (!matchesWildcard(name, "*.bmp")) {
                continue;
            }
            // lstat, and stat only for a link: one call for an ordinary picture.
            struct stat entry {};
            const fs::path path = folder / name;
            const bool known = ::lstat(path.c_str(), &entry) == 0;
            struct stat target = entry;
            if (known && S_ISLNK(entry.st_mode) && ::stat(path.c_str(), &target) != 0) {
                target = entry;
            }
            if (known && S_ISDIR(target.st_mode)) {
                files_.push_back({path, std::nullopt, true});
            } else {
                addFile(path, known ? identityInFolder(realFolder, folder, name, entry)
                                    : identityOf(path));
            }
        }
        if (!recursive_) {
            return;
        }
        for (const auto& name : names) {
            if (isFolderItself(folder / name)) {
                addFolder(folder / name);
            }
        }
    }

    bool recursive_;
    std::vector<InputFile> files_;
    std::unordered_set<std::string> seen_;
};

} // namespace

std::vector<InputFile> collectInputFiles(std::span<const std::string> arguments, bool recursive) {
    Collector collector(recursive);
    for (const auto& argument : arguments) {
        collector.addArgument(argument);
    }
    return collector.take();
}

} // namespace pixtint
