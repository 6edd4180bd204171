// SPDX-License-Identifier: MIT
#include "cli/InputFiles.h"

#include "engine/PathText.h"
#include "scan/FolderScan.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <unordered_set>

#ifdef _WIN32
#include "filesafety/PosixFile.h"
#include "filesafety/windows/WindowsFile.h"
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace pixtint {

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// The few facts of a path the collection needs, from Windows: 0 or the errno of the look.
struct PathFacts {
    int error = 0;
    bool folder = false;
    bool link = false;
};

PathFacts factsOf(const fs::path& path, bool followLink) {
    const DWORD attributes = ::GetFileAttributesW(longPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return {errnoOf(::GetLastError()), false, false};
    }
    const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (link && followLink) {
        std::error_code error;
        const auto target = fs::status(path, error);
        return {error ? ENOENT : 0, target.type() == fs::file_type::directory, false};
    }
    return {0, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, link};
}

bool isFolderItself(const fs::path& path) {
    const auto facts = factsOf(path, false);
    return facts.error == 0 && facts.folder && !facts.link;
}

std::optional<Error> unreadableFolder(const fs::path& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE listing = ::FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &found,
                                              FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE) {
        return Error::fromErrno(errnoOf(::GetLastError()), folder);
    }
    ::FindClose(listing);
    return std::nullopt;
}

// The same file reached through another path, or another spelling of its name (Windows
// compares names without case), has the same final path.
std::string identityOf(const fs::path& path) {
    const UniqueFd file(descriptorOf(openFile(
        path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)));
    const auto final = file.get() >= 0 ? openedPath(handleOf(file.get())) : fs::path();
    return textOf(upperCase((final.empty() ? path : final).native()));
}

std::string inFolder(const std::string& realFolder, const std::string& name) {
    return realFolder + "\\" + textOf(upperCase(pathOf(name).native()));
}
#else
// "icons.bmp" or "icons.bmp/": a name the folder listing takes for a picture.
bool isNamedAsPicture(const fs::path& path) {
    std::string name = path.native();
    while (name.size() > 1 && name.ends_with('/')) {
        name.pop_back();
    }
    return matchesWildcard(fs::path(name).filename().native(), "*.bmp");
}

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
std::string inFolder(const std::string& realFolder, const std::string& name) {
    return realFolder == "/" ? "/" + name : realFolder + "/" + name;
}
#endif

class Collector {
public:
    Collector(bool recursive, FolderReader readEntries)
        : recursive_(recursive)
        , readEntries_(readEntries) {}

    void addArgument(const fs::path& path) {
#ifdef _WIN32
        const auto facts = factsOf(path, true);
        if (facts.error != 0) {
            files_.push_back({path, Error::fromErrno(facts.error, path)});
        } else if (facts.folder) {
#else
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            files_.push_back({path, Error::fromErrno(errno, path)});
        } else if (S_ISDIR(status.st_mode) && !recursive_ && isNamedAsPicture(path)) {
            addFolderEntry(path); // as it is inside a folder
        } else if (S_ISDIR(status.st_mode)) {
#endif
            addFolder(path);
        } else {
            addFile(path, identityOf(path));
        }
    }

    std::vector<InputFile> take() {
        return std::move(files_);
    }

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
        const auto entries = matchingEntries(textOf(folder / "*"), readEntries_);
        const std::string realFolder = identityOf(folder);
        for (const auto& entry : entries) {
            if (matchesWildcard(entry.name, "*.bmp")) {
                addEntry(folder, realFolder, entry);
            }
        }
        if (!recursive_) {
            return;
        }
        for (const auto& entry : entries) {
            if (entry.kind == DT_DIR ||
                (entry.kind == DT_UNKNOWN && isFolderItself(folder / entry.name))) {
                addFolder(folder / pathOf(entry.name));
            }
        }
    }

    // The listing tells most entries' kind; only a link, or an entry of a kind the file
    // system does not tell, is looked at.
    void addEntry(const fs::path& folder, const std::string& realFolder, const FolderEntry& entry) {
        const fs::path path = folder / pathOf(entry.name);
        if (entry.kind == DT_REG) {
            addFile(path, inFolder(realFolder, entry.name));
            return;
        }
        if (entry.kind == DT_DIR) {
            addFolderEntry(path);
            return;
        }
#ifdef _WIN32
        if (const auto facts = factsOf(path, false); facts.error == 0 && !facts.link) {
            if (facts.folder) {
#else
        struct stat status {};
        if (::lstat(path.c_str(), &status) == 0 && !S_ISLNK(status.st_mode)) {
            if (S_ISDIR(status.st_mode)) {
#endif
                addFolderEntry(path);
            } else {
                addFile(path, inFolder(realFolder, entry.name));
            }
            return;
        }
#ifdef _WIN32
        if (const auto facts = factsOf(path, true); facts.error == 0 && facts.folder) {
#else
        if (::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
#endif
            files_.push_back({path, std::nullopt, true});
        } else {
            addFile(path, identityOf(path));
        }
    }

    // A folder named like a picture is reported as skipped, unless the walk goes into it.
    void addFolderEntry(const fs::path& path) {
        if (!recursive_) {
            files_.push_back({path, std::nullopt, true});
        }
    }

    bool recursive_;
    FolderReader readEntries_;
    std::vector<InputFile> files_;
    std::unordered_set<std::string> seen_;
};

} // namespace

std::vector<InputFile> collectInputFiles(std::span<const std::string> arguments, bool recursive,
                                         FolderReader readEntries) {
    Collector collector(recursive, readEntries);
    for (const auto& argument : arguments) {
        collector.addArgument(pathOf(argument));
    }
    return collector.take();
}

} // namespace pixtint
