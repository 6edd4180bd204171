// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pixtint {

// Paths as the program's text holds them: the system's own bytes on Linux, UTF-8 on Windows,
// whose names are UTF-16 and whose narrow strings would otherwise go through the ANSI code
// page and lose every character it lacks.

inline std::string textOf(const std::filesystem::path& path) {
#ifdef _WIN32
    const auto utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
#else
    return path.native();
#endif
}

inline std::filesystem::path pathOf(std::string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}

} // namespace pixtint
