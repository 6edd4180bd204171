// SPDX-License-Identifier: MIT
#pragma once

#include <QThread>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pixtint {

// One listing of a folder's *.bmp entries on a thread of its own: first their names in list
// order, then, file by file in that order, whether the conversion takes each. The window reads
// what is known so far whenever it likes, without waiting: the names once namesKnown(), and
// the first marksKnown() convertible flags. A cancelled listing stops after the file in hand.
class FolderListing {
public:
    explicit FolderListing(std::filesystem::path folder);
    // Cancels and waits for the file in hand.
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    void cancel() { cancelled_ = true; }
    bool namesKnown() const { return namesKnown_.load(std::memory_order_acquire); }
    // Only once namesKnown(): they no longer change.
    const std::vector<std::string>& names() const { return names_; }
    std::size_t marksKnown() const { return marksKnown_.load(std::memory_order_acquire); }
    // Only for rows below marksKnown().
    bool convertible(std::size_t row) const { return convertible_[row] != 0; }
    // Nothing more will be found: every mark is known, or the listing was cancelled.
    bool ended() const { return ended_.load(std::memory_order_acquire); }

private:
    void work();

    const std::filesystem::path folder_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> cancelled_{false};
    std::vector<std::string> names_;
    std::vector<std::uint8_t> convertible_;
    std::atomic<bool> namesKnown_{false};
    std::atomic<std::size_t> marksKnown_{0};
    std::atomic<bool> ended_{false};
};

} // namespace pixtint
