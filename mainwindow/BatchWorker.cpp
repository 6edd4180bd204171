// SPDX-License-Identifier: MIT
#include "mainwindow/BatchWorker.h"

#include "commit/BatchRun.h"
#include "conversion/ConvertedPicture.h"
#include "decoding/PictureDecoding.h"
#include "engine/Error.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/BatchMessages.h"

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

// What the preview would say of the picture: nothing when it can show it. The same steps as
// the preview's: the header's size fields, then the picture itself. A picture without a width
// is the conversion's to report, as the preview leaves it.
std::optional<NumberedMessage> showProblem(const ByteSource& source) {
    try {
        if (readPictureSize(source).width > 0) {
            checkPictureDecodes(source);
        }
        return std::nullopt;
    } catch (...) {
        return currentErrorMessage();
    }
}

std::optional<NumberedMessage> showProblem(const std::filesystem::path& file) {
    try {
        return showProblem(FileByteSource(file));
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
                         file,
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
    , request_(std::move(request))
    , vetted_(files_.size(), false) {}

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
    BatchCallbacks callbacks;
    callbacks.outcome = [this](const FileOutcome& outcome) {
        report(outcome);
    };
    // The last moment the file's original can be shown beside its conversion.
    callbacks.aboutToReplace = [this](std::size_t index) {
        offerFrame(index);
    };
    callbacks.stopRequested = [this] {
        return stop_.load();
    };
    callbacks.vet = [this](std::size_t index, const ByteSource& source) {
        vet(index, source);
    };
    // One file at a time, so that a stop comes after the file in hand; groups as large as the
    // command line's, whose flushes are most of a run's time.
    BatchRun(request_, {.groupFiles = groupFilesForThisProcess()}).run(files_, callbacks);
    tally_.notReached = files_.size() - reported_;
    tally_.stopped = tally_.notReached > 0;
    postMarks();
    post([this, tally = tally_] { emit finished(tally); });
}

// The window converts exactly the files its preview can show, judged from the bytes the run
// has just opened: a file it cannot show is left as it is, to be reported as the preview would.
void BatchWorker::vet(std::size_t index, const ByteSource& source) {
    vetted_[index] = true;
    if (std::optional<NumberedMessage> problem = showProblem(source)) {
        unshowable_.emplace(index, std::move(*problem));
        throw Error(ErrorKind::NotAPicture, source.path());
    }
}

// Why the preview cannot show a file the run left alone, if that is why: what the vet found,
// or, for a file the run could not even open, what the preview finds of it now.
std::optional<NumberedMessage> BatchWorker::unshowableCause(const FileOutcome& outcome) {
    if (auto found = unshowable_.extract(outcome.index)) {
        return std::move(found.mapped());
    }
    if (outcome.status == FileStatus::Failed && !vetted_[outcome.index]) {
        return showProblem(files_[outcome.index]);
    }
    return std::nullopt;
}

void BatchWorker::report(const FileOutcome& outcome) {
    ++reported_;
    if (const std::optional<NumberedMessage> cause = unshowableCause(outcome)) {
        mark(outcome.index, ItemMark::Failed);
        failAndWait(outcome.index, unshowableFileMessage(*cause, files_[outcome.index]), true);
        return;
    }
    if (const std::optional<int> refusal = folderRefusal(outcome)) {
        failAndWait(outcome.index, folderRefusedMessage(outcome, *refusal), false);
        return; // the file keeps its mark
    }
    const ItemMark itemMark = markFor(outcome.status);
    tally_.converted += itemMark == ItemMark::Converted ? 1 : 0;
    mark(outcome.index, itemMark);
    if (outcome.failure) {
        failAndWait(outcome.index, conversionFailureMessage(outcome), false);
    } else if (outcome.status == FileStatus::Unchanged) {
        offerFrame(outcome.index); // not replaced: its picture is still the original
    }
}

// Marks travel to the window together, one posted batch a frame interval: a posted call per
// file would cost both threads more than marking it does.
void BatchWorker::mark(std::size_t index, ItemMark mark) {
    {
        const std::lock_guard lock(mutex_);
        marks_.emplace_back(index, mark);
    }
    if (std::chrono::steady_clock::now() - lastMarks_ >= FrameInterval) {
        postMarks();
    }
}

// Whatever was marked so far reaches the window before anything posted after this.
void BatchWorker::postMarks() {
    lastMarks_ = std::chrono::steady_clock::now();
    {
        const std::lock_guard lock(mutex_);
        if (marksPosted_ || marks_.empty()) {
            return; // the batch already on its way takes the new marks too
        }
        marksPosted_ = true;
    }
    post([this] {
        std::vector<std::pair<std::size_t, ItemMark>> marks;
        {
            const std::lock_guard lock(mutex_);
            marks.swap(marks_);
            marksPosted_ = false;
        }
        for (const auto& [index, mark] : marks) {
            emit fileDone(index, mark);
        }
    });
}

void BatchWorker::failAndWait(std::size_t index, const NumberedMessage& message, bool unshowable) {
    postMarks();
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
