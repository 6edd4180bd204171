// SPDX-License-Identifier: MIT
#include "scan/FolderScan.h"

#include <algorithm>
#include <dirent.h>
#include <memory>

namespace pixtint {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

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

std::vector<FolderEntry> matchingEntries(const std::string& pattern) {
    const auto slash = pattern.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash);
    const std::string wildcard = slash == std::string::npos ? pattern : pattern.substr(slash + 1);

    // The file-system root is kept as the empty folder, so "" + "/*.bmp" searches "/".
    const std::unique_ptr<DIR, DirectoryCloser> directory(
        opendir(folder.empty() ? "/" : folder.c_str()));
    if (!directory) {
        return {};
    }
    std::vector<FolderEntry> entries;
    while (const dirent* entry = readdir(directory.get())) {
        const std::string_view name(entry->d_name);
        if (!isSelfOrParent(name) && matchesWildcard(name, wildcard)) {
            entries.push_back({std::string(name), entry->d_type});
        }
    }
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
