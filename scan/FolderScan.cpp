// SPDX-License-Identifier: MIT
#include "scan/FolderScan.h"

#include <algorithm>
#include <memory>

#ifdef _WIN32
#include "engine/PathText.h"

#include <windows.h>
#else
#include <dirent.h>
#endif

namespace pixtint {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

#ifndef _WIN32
struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};
#endif

bool isSelfOrParent(std::string_view name) {
    return name == "." || name == "..";
}

// Bytes compare as unsigned whatever the signedness of char, so names in a multi-byte encoding
// (bytes 0x80 and up) sort after ASCII on every platform.
unsigned char foldedByte(char c) {
    return static_cast<unsigned char>(asciiLower(c));
}

bool foldedLess(char x, char y) {
    return foldedByte(x) < foldedByte(y);
}

bool comesBefore(const std::string& a, const std::string& b) {
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), foldedLess);
    const bool greater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), foldedLess);
    // Names equal but for case keep one fixed order; std::string compares bytes as unsigned.
    return less || (!greater && a < b);
}

} // namespace

bool matchesWildcard(std::string_view name, std::string_view wildcard) {
    // Greedy match with one backtrack point for the last '*': linear for the patterns we use.
    std::size_t n = 0, w = 0;
    std::size_t starAt = std::string_view::npos, nameAtStar = 0;
    while (n < name.size()) {
        if (w < wildcard.size() &&
            (wildcard[w] == '?' || asciiLower(wildcard[w]) == asciiLower(name[n]))) {
            ++n;
            ++w;
        } else if (w < wildcard.size() && wildcard[w] == '*') {
            starAt = w++;
            nameAtStar = n;
        } else if (starAt != std::string_view::npos) {
            w = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == '*') {
        ++w;
    }
    return w == wildcard.size();
}

#ifdef _WIN32
// Through FindFirstFileExW, names in UTF-8; a link (reparse point) is told as one, to be looked
// at where it leads.
std::vector<FolderEntry> readFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    const auto search = (pathOf(folder.empty() ? std::string(".") : folder) / L"*").native();
    WIN32_FIND_DATAW found{};
    const HANDLE listing = ::FindFirstFileExW(search.c_str(), FindExInfoBasic, &found,
                                              FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        std::string name = textOf(std::filesystem::path(found.cFileName));
        if (isSelfOrParent(name)) {
            continue;
        }
        const DWORD attributes = found.dwFileAttributes;
        const unsigned char kind = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? DT_LNK
                                   : (attributes & FILE_ATTRIBUTE_DIRECTORY)   ? DT_DIR
                                                                               : DT_REG;
        entries.push_back({std::move(name), kind});
    } while (::FindNextFileW(listing, &found));
    ::FindClose(listing);
    return entries;
}

constexpr const char* FolderSeparators = "/\\";
#else
std::vector<FolderEntry> readFolder(const std::string& folder) {
    // The file-system root is kept as the empty folder, so "" + "/*.bmp" searches "/".
    const std::unique_ptr<DIR, DirectoryCloser> directory(
        opendir(folder.empty() ? "/" : folder.c_str()));
    std::vector<FolderEntry> entries;
    while (const dirent* entry = directory ? readdir(directory.get()) : nullptr) {
        if (!isSelfOrParent(entry->d_name)) {
            entries.push_back({entry->d_name, entry->d_type});
        }
    }
    return entries;
}

constexpr const char* FolderSeparators = "/";
#endif

std::vector<FolderEntry> matchingEntries(const std::string& pattern, FolderReader readEntries) {
    const auto slash = pattern.find_last_of(FolderSeparators);
    const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash);
    const std::string wildcard = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    auto entries = readEntries(folder);
    std::erase_if(entries,
                  [&](const FolderEntry& entry) { return !matchesWildcard(entry.name, wildcard); });
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return comesBefore(a.name, b.name);
    });
    return entries;
}

std::vector<std::string> matchingNames(const std::string& pattern) {
    std::vector<std::string> names;
    for (auto& entry : matchingEntries(pattern)) {
        names.push_back(std::move(entry.name));
    }
    return names;
}

} // namespace pixtint
