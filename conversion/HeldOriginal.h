#pragma once

#include <filesystem>

namespace pixtint {

// The backup of one picture while a batch converts it: the picture as it was before, held
// under a private name beside it until the item is known to have been converted. Only then
// does it replace the backup file, in one rename, so that a failed item leaves an older backup
// as it was. A hard link holds the picture at no cost whatever its size (the conversion
// replaces the picture's name, never its bytes); where the file system has no hard links the
// bytes are copied.
class HeldOriginal {
public:
    // Throws AppError when the picture can be neither linked nor copied.
    HeldOriginal(const std::filesystem::path& picture, std::filesystem::path backup);
    // Removes the held picture unless it became the backup.
    ~HeldOriginal();
    HeldOriginal(const HeldOriginal&) = delete;
    HeldOriginal& operator=(const HeldOriginal&) = delete;

    // Moves the held picture over the backup file in one step. The folder is not synced here:
    // the next sync of the same folder makes the rename last, and until then the held picture
    // does. Throws AppError; the held picture then stays under its private name, since it may
    // be the only copy of the picture as it was.
    void commit();

    // Where the picture is held until it becomes the backup.
    const std::filesystem::path& path() const { return held_; }

private:
    std::filesystem::path backup_;
    std::filesystem::path held_;
    bool holding_ = false;
};

} // namespace pixtint
