// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folder scan. It knows nothing of bitmaps: it lists the entries of a folder whose names
// match a wildcard, in name order.
namespace pixtint {

// True when `name` matches `wildcard` ('*' any run, '?' one character), ignoring the case of
// ASCII letters.
bool matchesWildcard(std::string_view name, std::string_view wildcard);

// `pattern` is a folder, one '/' (or '\\' on Windows, where names are UTF-8), and a wildcard name,
// e.g. "/home/me/icons/*.bmp". Answers the bare names (raw bytes) of the matching entries of that
// folder, of whatever kind (a sub-folder named x.bmp included). The entries come in name order,
// byte by byte as unsigned values, ignoring the case of ASCII letters: the order in which a
// directory listing reads naturally, where the file system itself delivers them in no useful order.
// A name in a multi-byte encoding (a Japanese one) comes after the ASCII names. A folder that does
// not exist or cannot be read has no entries.
std::vector<std::string> matchingNames(const std::string& pattern);

// A matching entry with its kind as the folder listing tells it (a DT_ value of <dirent.h>;
// DT_UNKNOWN where the file system does not say), which spares a look at each entry.
#ifdef _WIN32
// The kinds a Windows listing tells, with <dirent.h>'s values.
inline constexpr unsigned char DT_UNKNOWN = 0;
inline constexpr unsigned char DT_DIR = 4;
inline constexpr unsigned char DT_REG = 8;
inline constexpr unsigned char DT_LNK = 10;
#endif

struct FolderEntry {
    std::string name;
    unsigned char kind = 0;
};

// Every entry of one folder but "." and "..", in the file system's order: the system's own
// listing, or in a test one that tells what some file systems tell (no entry's kind).
using FolderReader = std::vector<FolderEntry> (*)(const std::string& folder);
std::vector<FolderEntry> readFolder(const std::string& folder);

// The same entries as matchingNames, in the same order, each with its kind.
std::vector<FolderEntry> matchingEntries(const std::string& pattern,
                                         FolderReader readEntries = readFolder);

} // namespace pixtint
