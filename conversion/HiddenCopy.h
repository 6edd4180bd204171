#pragma once

#include "engine/PosixFile.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace pixtint {

// The converted copy of a picture while a batch runs: a hidden sibling whose name can never
// be a user's file (".NAME.pixtint-" and six random characters), with the picture's
// permissions. It stays locked while open, so that another run's clean-up leaves it alone.
// Destroyed before it replaced the picture, it is removed.
class HiddenCopy {
public:
    // Throws AppError when the folder takes no new file.
    explicit HiddenCopy(std::filesystem::path picture);
    ~HiddenCopy();
    HiddenCopy(const HiddenCopy&) = delete;
    HiddenCopy& operator=(const HiddenCopy&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    // Renames the copy over the picture in one step: at every moment the picture is either
    // its old or its new content. Throws AppError.
    void replacePicture();

    int descriptor() const { return file_.get(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path picture_;
    std::filesystem::path path_;
    UniqueFd file_;
    bool replaced_ = false;
};

// True for the name of a copy that HiddenCopy makes.
bool isHiddenCopyName(std::string_view name);

// Removes the copies an interrupted run left in `folder`: they never hold the only copy of
// anything, since a copy that replaced its picture no longer has its name. A copy that a
// running batch still holds is left alone. Best effort: what cannot be removed stays.
void removeLeftoverCopies(const std::filesystem::path& folder) noexcept;

} // namespace pixtint
