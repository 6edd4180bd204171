// SPDX-License-Identifier: MIT
#include "mainwindow/BatchWorker.h"

#include "commit/BatchRun.h"
#include "commit/FolderWritability.h"
#include "conversion/ConvertedPicture.h"
#include "decoding/PictureDecoding.h"
#include "engine/Error.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/BatchMessages.h"
#include "mainwindow/PreviewShowability.h"

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

std::optional<NumberedMessage> whyPreviewCannotShow(const std::filesystem::path& file) {
    try {
        return whyPreviewCannotShow(FileByteSource(file));
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

bool isFolderRefusal(const FileOutcome& outcome) {
    return outcome.failure && outcome.failure->kind == FileFailure::Kind::FolderNotWritable;
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
    thread_.abandonAndWait();
}

void BatchWorker::start() {
    thread_.start([this] { work(); });
}

void BatchWorker::failureShown() {
    thread_.boxClosed();
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
        return stop_.load() || folderRefused_;
    };
    callbacks.vet = [this](std::size_t index, const ByteSource& source) {
        vet(index, source);
    };
    // A folder that takes no new file would only refuse each file in turn: it is told once,
    // and none of its files is handed over.
    if (const std::optional<Error> refusal =
            files_.empty() ? std::nullopt : folderWriteProblem(files_.front().parent_path())) {
        folderRefused_ = true;
        endTheRest();
        failAndWait(0, folderRefusedMessage(*refusal, files_.front().parent_path()), false);
    } else {
        // One file at a time, so that a stop comes after the file in hand; groups as large as
        // the command line's, whose flushes are most of a run's time.
        BatchRun(request_, {.groupFiles = groupFilesForThisProcess()}).run(files_, callbacks);
        endTheRest();
    }
    tally_.stopped = tally_.notReached > 0;
    postMarks();
    post([this, tally = tally_] { emit finished(tally); });
}

// The window converts exactly the files its preview can show, judged from the bytes the run
// has just opened: a file it cannot show is left as it is, to be reported as the preview would.
void BatchWorker::vet(std::size_t index, const ByteSource& source) {
    vetted_[index] = true;
    if (std::optional<NumberedMessage> problem = whyPreviewCannotShow(source)) {
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
        return whyPreviewCannotShow(files_[outcome.index]);
    }
    return std::nullopt;
}

void BatchWorker::report(const FileOutcome& outcome) {
    ++reported_;
    if (folderRefused_) { // the folder's box said it for every file of it
        ++tally_.failed;
        mark(outcome.index, ItemMark::Failed);
        return;
    }
    if (const std::optional<NumberedMessage> cause = unshowableCause(outcome)) {
        ++tally_.failed;
        mark(outcome.index, ItemMark::Failed);
        failAndWait(outcome.index, unshowableFileMessage(*cause, files_[outcome.index]), true);
        return;
    }
    if (isFolderRefusal(outcome)) {
        ++tally_.failed;
        mark(outcome.index, ItemMark::Failed);
        refuseFolder(outcome.failure->error, outcome.index);
        return;
    }
    count(outcome.status);
    mark(outcome.index, markFor(outcome.status));
    if (outcome.failure) {
        failAndWait(outcome.index, conversionFailureMessage(outcome), false);
    } else if (outcome.status == FileStatus::Unchanged) {
        offerFrame(outcome.index); // not replaced: its picture is still the original
    }
}

void BatchWorker::count(FileStatus status) {
    switch (status) {
    case FileStatus::Converted:
        ++tally_.converted;
        break;
    case FileStatus::Unchanged:
        ++tally_.unchanged;
        break;
    case FileStatus::NotConvertible:
        ++tally_.notConvertible;
        break;
    case FileStatus::Failed:
        ++tally_.failed;
        break;
    }
}

// The folder's one box: what the system said of it. The run ends after the file in hand, and
// every file of the folder not yet done ends "NG" with it.
void BatchWorker::refuseFolder(const Error& refusal, std::size_t index) {
    folderRefused_ = true;
    failAndWait(index, folderRefusedMessage(refusal, files_[index].parent_path()), false);
}

// The files the run did not report: failed with their folder, or not reached after a stop.
void BatchWorker::endTheRest() {
    for (; reported_ < files_.size(); ++reported_) {
        if (folderRefused_) {
            ++tally_.failed;
            mark(reported_, ItemMark::Failed);
        } else {
            ++tally_.notReached;
        }
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
    thread_.showBoxAndWait([&] {
        post([this, index, message, unshowable] { emit fileFailed(index, message, unshowable); });
    });
}

// A frame is made when one is due and the window has taken the last one, so a slow window
// skips files instead of falling behind.
void BatchWorker::offerFrame(std::size_t index) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastFrame_ < FrameInterval || thread_.abandoned()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        if (frame_) {
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
