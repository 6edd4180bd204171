#pragma once

#include <string>
#include <string_view>

namespace pixtint {

// The folder scan. It knows nothing of bitmaps: it hands every entry of a folder whose name
// matches a wildcard to a list, in name order.
namespace StdFileSearch {

// Where the scan appends names. The file list implements it.
class ListItems {
public:
    virtual ~ListItems() = default;
    // `name` is the entry's bare name as the file system holds it (raw bytes).
    virtual void Add(const std::string& name) = 0;
};

// True when `name` matches `wildcard` ('*' any run, '?' one character), ignoring the case of
// ASCII letters.
bool MatchesWildcard(std::string_view name, std::string_view wildcard);

// `pattern` is a folder, one '/', and a wildcard name, e.g. "/home/me/icons/*.bmp". Appends
// one item per matching entry of that folder, of whatever kind (a sub-folder named x.bmp
// included), behind the items already in the list. The entries come in name order, byte by
// byte as unsigned values, ignoring the case of ASCII letters: the order in which a directory
// listing reads naturally, where the file system itself delivers them in no useful order. A
// name in a multi-byte encoding (a Japanese one) comes after the ASCII names. A folder that does
// not exist or cannot be read adds nothing.
void ListMatchingFiles(const std::string& pattern, ListItems& list);

} // namespace StdFileSearch

} // namespace pixtint
