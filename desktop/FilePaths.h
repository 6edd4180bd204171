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

// A folder as the windows show it and the settings keep it, without a trailing separator, so
// that the file-system root is the empty text; and back. Any other text is the folder's path.
std::filesystem::path folderPath(const QString& folderText);
QString folderText(const std::filesystem::path& folder);

// The readable text of a native path, as the status bar shows it.
QString displayPath(const std::filesystem::path& path);

// The length of the file in bytes. Throws Error with the system's reason.
std::int64_t fileSize(const std::filesystem::path& path);

} // namespace pixtint
