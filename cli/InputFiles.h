// SPDX-License-Identifier: MIT
#pragma once

#include "engine/Error.h"
#include "scan/FolderScan.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pixtint {

// A file to work on, or a path argument that cannot be used.
struct InputFile {
    std::filesystem::path path;
    std::optional<Error> problem; // set: the path is reported as failed, nothing is done
    bool isFolder = false;        // a folder matching "*.bmp": reported as skipped
};

// The files named by the PATH arguments, in their order: a file is taken whatever its name;
// a folder gives its entries matching "*.bmp" in the window's order (a folder of such a
// name, argument or entry, is no picture, and is skipped unless it is walked, as with
// `recursive`), and with `recursive` then the same
// from each sub-folder (symbolic links to folders are not followed). A file reached
// twice, through another argument or a link, is taken once. A path that does not exist or a
// folder that cannot be read gives one entry with its problem.
// `readEntries` reads each folder.
std::vector<InputFile> collectInputFiles(std::span<const std::string> arguments, bool recursive,
                                         FolderReader readEntries = readFolder);

} // namespace pixtint
