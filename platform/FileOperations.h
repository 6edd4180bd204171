#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>

namespace pixtint {

// File operations of the windows. Each fails with an AppError carrying the classic number.

// The length of the file in bytes.
std::int64_t FileLen(const std::filesystem::path& path);

// The native (8-bit) form of a path the windows hold as text.
std::filesystem::path NativePath(const QString& path);

// The native path of `rawName` in `folder`: the folder, one separator, the name. The folder is
// kept without a trailing separator, so the file-system root is the empty text.
std::filesystem::path PathInFolder(const QString& folder, const std::string& rawName);

// The readable text of a native path, as the status bar shows it.
QString DisplayPath(const std::filesystem::path& path);

} // namespace pixtint
