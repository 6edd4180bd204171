// SPDX-License-Identifier: MIT
#include "mainwindow/FolderListing.h"

#include "conversion/CachedStart.h"
#include "conversion/Convertibility.h"
#include "filesafety/FileByteSource.h"
#include "scan/FolderScan.h"

namespace pixtint {

namespace {

// Whatever the conversion takes is convertible. An entry it cannot read (a sub-folder, no
// permission) is simply not convertible. The file's start is read in one call: its header's
// fields one by one would cost a folder of many thousands a system call each.
bool isConvertible(const std::filesystem::path& path) {
    try {
        return !refusalOf(CachedStart(FileByteSource(path)));
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

FolderListing::FolderListing(std::filesystem::path folder)
    : folder_(std::move(folder)) {
    thread_.reset(QThread::create([this] { work(); }));
    thread_->start();
}

FolderListing::~FolderListing() {
    cancel();
    thread_->wait();
}

void FolderListing::work() {
    names_ = matchingNames((folder_ / "*.bmp").native());
    convertible_.assign(names_.size(), 0);
    namesKnown_.store(true, std::memory_order_release);
    for (std::size_t row = 0; row < names_.size() && !cancelled_; ++row) {
        convertible_[row] = isConvertible(folder_ / names_[row]) ? 1 : 0;
        marksKnown_.store(row + 1, std::memory_order_release);
    }
    ended_.store(true, std::memory_order_release);
}

} // namespace pixtint
