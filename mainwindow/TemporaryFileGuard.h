#pragma once

#include <filesystem>
#include <optional>

namespace pixtint {

// Removes a temporary file the preview wrote, however the preview ends, unless it was moved
// into place or deleted on purpose.
class TemporaryFileGuard {
public:
    TemporaryFileGuard() = default;
    ~TemporaryFileGuard() {
        if (path_) {
            std::error_code ignored;
            std::filesystem::remove(*path_, ignored);
        }
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    void watch(const std::filesystem::path& path) { path_ = path; }
    void release() { path_.reset(); }

private:
    std::optional<std::filesystem::path> path_;
};

} // namespace pixtint
