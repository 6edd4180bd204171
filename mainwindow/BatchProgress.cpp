// SPDX-License-Identifier: MIT
#include "mainwindow/BatchProgress.h"

#include "conversion/ConvertedPicture.h"
#include "engine/ByteSource.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/BatchMessages.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/PictureDecoding.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace pixtint {

namespace {

constexpr qint64 FrameMilliseconds = 33;

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

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close: // closing the window would pull it from under the run
        return true;
    default:
        return false;
    }
}

// What the preview would say of the file: nothing when it can show it. The same steps as the
// preview's: the header's size fields, then the picture itself.
std::optional<NumberedMessage> showProblem(const std::filesystem::path& file) {
    try {
        const FileByteSource source(file);
        readPictureSize(source);
        checkPictureDecodes(source);
        return std::nullopt;
    } catch (...) {
        return currentErrorMessage();
    }
}

} // namespace

BatchProgress::BatchProgress(MainWindow& window, std::vector<int> rows,
                             std::vector<std::filesystem::path> files, ConversionRequest request)
    : window_(window)
    , rows_(std::move(rows))
    , files_(std::move(files))
    , request_(std::move(request)) {
    qApp->installEventFilter(this);
}

BatchProgress::~BatchProgress() {
    qApp->removeEventFilter(this);
}

// The files the preview can show go to the core in runs of neighbours; each one it cannot
// show ends where it stands.
void BatchProgress::run() {
    std::vector<std::optional<NumberedMessage>> problems;
    problems.reserve(files_.size());
    for (const std::filesystem::path& file : files_) {
        problems.push_back(showProblem(file));
    }
    std::size_t next = 0;
    while (next < files_.size()) {
        if (problems[next]) {
            if (stopRequested()) {
                return;
            }
            failUnshowable(next, *problems[next]);
            ++next;
            continue;
        }
        std::size_t end = next + 1;
        while (end < files_.size() && !problems[end]) {
            ++end;
        }
        if (!convert(next, end)) {
            return;
        }
        next = end;
    }
}

bool BatchProgress::convert(std::size_t first, std::size_t end) {
    const std::span<const std::filesystem::path> files(files_.data() + first, end - first);
    return BatchRun(request_).run(files, callbacks(first));
}

BatchCallbacks BatchProgress::callbacks(std::size_t first) {
    BatchCallbacks callbacks;
    callbacks.outcome = [this, first](const FileOutcome& outcome) {
        FileOutcome inList = outcome;
        inList.index += first;
        fileDone(inList);
    };
    callbacks.aboutToReplace = [this, first](std::size_t index) {
        aboutToReplace(first + index);
    };
    callbacks.stopRequested = [this] {
        return stopRequested();
    };
    return callbacks;
}

// Only input meant for the main window is held back: a message box opened during the run is a
// window of its own and must be able to close.
bool BatchProgress::isForMainWindow(QObject* watched) const {
    if (const auto* widget = qobject_cast<QWidget*>(watched)) {
        return widget->window() == &window_;
    }
    if (const auto* handle = qobject_cast<QWindow*>(watched)) {
        return handle == window_.windowHandle();
    }
    return false;
}

bool BatchProgress::eventFilter(QObject* watched, QEvent* event) {
    if (!isInput(event->type()) || !isForMainWindow(watched)) {
        return false;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        stop_ = true;
    }
    return true;
}

void BatchProgress::failUnshowable(std::size_t index, const NumberedMessage& cause) {
    markDone(index, ItemMark::Failed);
    window_.filePanel_->fileList().selectRow(rows_[index]); // the message is about the file in view
    window_.showError(unshowableFileMessage(cause, files_[index]), MainWindow::tr("BMPエラー"));
    if (frameDue()) {
        pending_.reset();
        showFrame();
    }
}

// The file is about to become its converted picture: the last moment its original can be
// shown beside the conversion.
void BatchProgress::aboutToReplace(std::size_t index) {
    // The last file is shown by the closing preview anyway.
    const bool isLast = index + 1 == files_.size();
    if (frameDue() && !isLast) {
        pending_ = decodeFrame(index);
    }
}

void BatchProgress::fileDone(const FileOutcome& outcome) {
    markDone(outcome.index, markFor(outcome.status));
    if (outcome.failure) {
        window_.filePanel_->fileList().selectRow(rows_[outcome.index]);
        window_.showError(conversionFailureMessage(outcome), MainWindow::tr("変換エラー"));
    }
    if (!frameDue()) {
        return;
    }
    const bool pendingIsThisFile = pending_ && pending_->index == outcome.index;
    if (!pendingIsThisFile) {
        // A replaced file no longer holds its original: it shows no preview this time.
        pending_.reset();
        if (outcome.status != FileStatus::Converted) {
            pending_ = decodeFrame(outcome.index);
        }
    }
    showFrame();
}

void BatchProgress::markDone(std::size_t index, ItemMark mark) {
    window_.filePanel_->fileList().setMark(rows_[index], mark);
    lastDone_ = index;
}

bool BatchProgress::stopRequested() {
    if (frameDue()) {
        showFrame();
    }
    return stop_;
}

bool BatchProgress::frameDue() const {
    return !sinceFrame_.isValid() || sinceFrame_.elapsed() >= FrameMilliseconds;
}

// Moving the selection scrolls the list, so it moves once a frame, to the last file done:
// what the user sees of it is the same.
void BatchProgress::showFrame() {
    selectLastDone();
    if (pending_) {
        window_.showBatchPreview(files_[pending_->index], pending_->size, pending_->before,
                                 pending_->after);
        pending_.reset();
    }
    sinceFrame_.start();
    QApplication::processEvents();
}

void BatchProgress::selectLastDone() {
    if (lastDone_) {
        window_.filePanel_->fileList().selectRow(rows_[*lastDone_]);
    }
}

// A picture that cannot be shown is simply not shown: the run reports the file's own
// failures, and a preview is no reason to stop it.
std::optional<BatchProgress::Frame> BatchProgress::decodeFrame(std::size_t index) const {
    const std::filesystem::path& file = files_[index];
    try {
        const FileByteSource source(file);
        Frame frame{index, readPictureSize(source), decodePicture(source), {}};
        frame.after = decodePicture(ConvertedPicture(file, request_));
        return frame;
    } catch (...) {
    }
    return std::nullopt;
}

} // namespace pixtint
