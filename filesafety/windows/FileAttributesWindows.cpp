// SPDX-License-Identifier: MIT
// filesafety/FileAttributes.h on Windows: the picture's attributes (archive, not indexed,
// hidden, system, ...) go to its copy. Its access list is the folder's, as for any new file
// there; a picture given an access list of its own gets the folder's again.
#include "engine/Error.h"
#include "filesafety/FileAttributes.h"
#include "filesafety/PosixFile.h"
#include "filesafety/windows/WindowsFile.h"

namespace pixtint {

namespace {

// What the copy takes: not the read-only attribute (such a picture is never converted), nor
// what only the file system sets (compressed, encrypted, sparse...).
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

} // namespace

void keepAttributes(int from, int to, const std::filesystem::path& path) {
    keepAttributes(stateOf(handleOf(from), path), from, stateOf(handleOf(to), path), to, path);
}

void keepAttributes(const FileState& old, int, const FileState&, int to,
                    const std::filesystem::path& path) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = old.attributes & KeptAttributes;
    if (basic.FileAttributes == 0) {
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    }
    if (!::SetFileInformationByHandle(handleOf(to), FileBasicInfo, &basic, sizeof basic)) {
        throw Error(ErrorKind::AttributeNotKept, path, "attributes");
    }
}

// Windows looks a name up by its whole path; the folder is the caller's lock.
bool isReadOnlyIn(int /*folder*/, const std::filesystem::path& name) {
    const DWORD attributes = ::GetFileAttributesW(longPath(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace pixtint
