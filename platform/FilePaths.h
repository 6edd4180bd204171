// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>

namespace pixtint {

// Paths as the windows hold them (text) and as the file system takes them (8-bit names).

// The native (8-bit) form of a path the windows hold as text.
std::filesystem::path nativePath(const QString& path);

// The native path of `rawName` in `folder`: the folder, one separator, the name. The folder is
// kept without a trailing separator, so the file-system root is the empty text.
std::filesystem::path pathInFolder(const QString& folder, const std::string& rawName);

// The readable text of a native path, as the status bar shows it.
QString displayPath(const std::filesystem::path& path);

// The length of the file in bytes. Throws Error with the system's reason.
std::int64_t fileSize(const std::filesystem::path& path);

} // namespace pixtint
