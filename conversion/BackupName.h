#pragma once

#include <filesystem>

namespace pixtint {

// The backup of a picture: its path with the last three bytes replaced by "bak", so a.bmp
// keeps its original as a.bak. Works on the native bytes, so a name in any encoding keeps
// everything but its ending. Throws AppError 5 for a path shorter than three bytes.
std::filesystem::path backupPathFor(const std::filesystem::path& picture);

} // namespace pixtint
