// SPDX-License-Identifier: MIT
#pragma once

#include "filesafety/FileState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pixtint {

// The names the program gives its own files beside a user's: a converted copy waiting for
// its commit, and a held original waiting to become a backup. Each name says whose it is in a
// way no user's file does, and carries its own proof:
//
//   "." NAME ".pixtint-" ROLE "-" KEY "-" FILE "-" OTHER "-" RANDOM
//
// NAME is the name of the file it belongs to (shortened where the whole would pass the file
// system's limit), KEY a 64-bit hash of that whole name, so that a shortened name still leads
// to its one file, FILE the number (inode) of the file this name was given to, OTHER the number
// of the file it is to replace (0 for none), all in hexadecimal, and RANDOM six letters or
// digits that keep two names apart. A name that parses but names a file of another number is
// not ours, whatever it looks like: it is never renamed, replaced or deleted.
enum class OwnRole {
    Copy, // a converted copy: ".a.bmp.pixtint-copy-…"; OTHER is the picture it replaces
    Held, // an original held for its backup: ".a.bak.pixtint-held-…"; NAME is the backup's
};

struct OwnName {
    OwnRole role = OwnRole::Copy;
    std::uint64_t key = 0;   // nameKey() of the whole name it belongs to
    std::uint64_t file = 0;  // the file it was given to
    std::uint64_t other = 0; // the file it replaces; 0 for none
};

// The name for `file`, belonging to `belongsTo` (a bare file name).
std::string ownName(std::string_view belongsTo, OwnRole role, FileNumber file,
                    FileNumber other = 0);

// What `name` says, when it is one of ours in form; nothing for any other name.
std::optional<OwnName> parseOwnName(std::string_view name);

// Whether `name` (a bare file name) is the one an own name with `key` belongs to.
std::uint64_t nameKey(std::string_view name);

// A short-lived name for a file made where it cannot be made without a name (no O_TMPFILE):
// it is renamed to its own name as soon as its number is known. Such a name carries no proof,
// so nothing ever removes what a kill leaves under it.
std::string transientName(std::string_view belongsTo);

// Six random letters or digits.
std::string randomPart();

} // namespace pixtint
