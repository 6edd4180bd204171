// SPDX-License-Identifier: MIT
#include "mainwindow/BatchWorker.h"

#include "conversion/BatchRun.h"
#include "conversion/ConvertedPicture.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/BatchMessages.h"
#include "platform/PictureDecoding.h"

#include <span>

namespace pixtint {

namespace {

constexpr auto FrameInterval = std::chrono::milliseconds(33);

ItemMark markFor(FileStatus status) {
    switch (status) {
    case FileStatus::Converted:
    case FileStatus::Unchanged:
        return ItemMark::Converted;
    case FileStatus::NotConvertible:
        return ItemMark::NotConvertible;
    case FileStatus::Failed:
        break;
    }
    return ItemMark::Failed;
}

// What the preview would say of the file: nothing when it can show it. The same steps as the
// preview's: the header's size fields, then the picture itself. A picture without a width is
// the conversion's to report, as the preview leaves it.
std::optional<NumberedMessage> showProblem(const std::filesystem::path& file) {
    try {
        const FileByteSource source(file);
        if (readPictureSize(source).width <= 0) {
            return std::nullopt;
        }
        checkPictureDecodes(source);
        return std::nullopt;
    } catch (...) {
        return currentErrorMessage();
    }
}

// A picture that cannot be shown is simply not shown: the run reports the file's own
// failures, and a preview is no reason to stop it.
std::optional<BatchFrame> decodeFrame(std::size_t index, const std::filesystem::path& file,
                                      const ConversionRequest& request) {
    try {
        const FileByteSource source(file);
        BatchFrame frame{index,
                         readPictureSize(source),
                         static_cast<std::int64_t>(source.size()),
                         decodePicture(source),
                         {}};
        frame.after = decodePicture(ConvertedPicture(file, request));
        return frame;
    } catch (...) {
    }
    return std::nullopt;
}

// The errno of a failure that is the folder's, not the file's: the core found that the folder
// takes no new file (as the run's user sees it), so neither the file nor its mark is to blame.
std::optional<int> folderRefusal(const FileOutcome& outcome) {
    if (!outcome.failure || outcome.failure->kind != FileFailure::Kind::FolderNotWritable) {
        return std::nullopt;
    }
    return outcome.failure->error.systemError();
}

} // namespace

BatchWorker::BatchWorker(std::vector<std::filesystem::path> files, ConversionRequest request,
                         QObject* parent)
    : QObject(parent)
    , files_(std::move(files))
    , request_(std::move(request)) {}

BatchWorker::~BatchWorker() {
    stop_ = true;
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    boxClosed_.notify_all();
    if (thread_) {
        thread_->wait();
    }
}

void BatchWorker::start() {
    thread_.reset(QThread::create([this] { work(); }));
    thread_->start();
}

void BatchWorker::failureShown() {
    {
        const std::lock_guard lock(mutex_);
        waitingForBox_ = false;
    }
    boxClosed_.notify_all();
}

std::optional<BatchFrame> BatchWorker::takeFrame() {
    const std::lock_guard lock(mutex_);
    return std::exchange(frame_, std::nullopt);
}

// Runs `function` on the window's thread. Posted to this object, it is dropped when the
// window goes first.
template <typename Function> void BatchWorker::post(Function&& function) {
    QMetaObject::invokeMethod(this, std::forward<Function>(function), Qt::QueuedConnection);
}

void BatchWorker::work() {
    convertShowable();
    tally_.notReached = files_.size() - reported_;
    tally_.stopped = tally_.notReached > 0;
    post([this, tally = tally_] { emit finished(tally); });
}

// The files the preview can show go to the core in runs of neighbours; each one it cannot
// show ends where it stands.
void BatchWorker::convertShowable() {
    std::vector<std::optional<NumberedMessage>> problems;
    problems.reserve(files_.size());
    for (const std::filesystem::path& file : files_) {
        if (stop_) {
            return;
        }
        problems.push_back(showProblem(file));
    }
    std::size_t next = 0;
    while (next < files_.size()) {
        if (next > 0 && stop_) {
            return;
        }
        if (problems[next]) {
            ++reported_;
            post([this, next] { emit fileDone(next, ItemMark::Failed); });
            failAndWait(next, unshowableFileMessage(*problems[next], files_[next]), true);
            ++next;
            continue;
        }
        std::size_t end = next + 1;
        while (end < files_.size() && !problems[end]) {
            ++end;
        }
        if (!convertRun(next, end)) {
            return;
        }
        next = end;
    }
}

bool BatchWorker::convertRun(std::size_t first, std::size_t end) {
    BatchCallbacks callbacks;
    callbacks.outcome = [this, first](const FileOutcome& outcome) {
        FileOutcome inList = outcome;
        inList.index += first;
        report(inList);
    };
    // The last moment the file's original can be shown beside its conversion.
    callbacks.aboutToReplace = [this, first](std::size_t index) {
        offerFrame(first + index);
    };
    callbacks.stopRequested = [this] {
        return stop_.load();
    };
    const std::span<const std::filesystem::path> files(files_.data() + first, end - first);
    return BatchRun(request_).run(files, callbacks);
}

void BatchWorker::report(const FileOutcome& outcome) {
    ++reported_;
    if (const std::optional<int> refusal = folderRefusal(outcome)) {
        failAndWait(outcome.index, folderRefusedMessage(outcome, *refusal), false);
        return; // the file keeps its mark
    }
    const ItemMark mark = markFor(outcome.status);
    tally_.converted += mark == ItemMark::Converted ? 1 : 0;
    post([this, index = outcome.index, mark] { emit fileDone(index, mark); });
    if (outcome.failure) {
        failAndWait(outcome.index, conversionFailureMessage(outcome), false);
    } else if (outcome.status == FileStatus::Unchanged) {
        offerFrame(outcome.index); // not replaced: its picture is still the original
    }
}

void BatchWorker::failAndWait(std::size_t index, const NumberedMessage& message, bool unshowable) {
    std::unique_lock lock(mutex_);
    if (abandoned_) {
        return;
    }
    waitingForBox_ = true;
    post([this, index, message, unshowable] { emit fileFailed(index, message, unshowable); });
    boxClosed_.wait(lock, [this] { return !waitingForBox_ || abandoned_; });
}

// A frame is made when one is due and the window has taken the last one, so a slow window
// skips files instead of falling behind.
void BatchWorker::offerFrame(std::size_t index) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastFrame_ < FrameInterval) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        if (frame_ || abandoned_) {
            return;
        }
    }
    std::optional<BatchFrame> frame = decodeFrame(index, files_[index], request_);
    if (!frame) {
        return;
    }
    lastFrame_ = now;
    {
        const std::lock_guard lock(mutex_);
        frame_ = std::move(frame);
    }
    post([this] { emit frameReady(); });
}

} // namespace pixtint
