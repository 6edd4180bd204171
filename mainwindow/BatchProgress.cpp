#include "mainwindow/BatchProgress.h"

#include "conversion/ConvertedPicture.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"
#include "mainwindow/BatchMessages.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/PictureDecoding.h"

#include <QApplication>
#include <QKeyEvent>

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

} // namespace

BatchProgress::BatchProgress(MainWindow& window, std::vector<ListItem> items,
                             std::vector<std::filesystem::path> files, ConversionRequest request)
    : window_(window)
    , items_(std::move(items))
    , files_(std::move(files))
    , request_(std::move(request)) {
    qApp->installEventFilter(this);
}

BatchProgress::~BatchProgress() {
    qApp->removeEventFilter(this);
}

BatchCallbacks BatchProgress::callbacks() {
    return {[this](const FileOutcome& outcome) { fileDone(outcome); },
            [this](std::size_t index) { aboutToReplace(index); },
            [this] { return stopRequested(); },
            {}};
}

bool BatchProgress::eventFilter(QObject*, QEvent* event) {
    if (!ignoringInput_ || !isInput(event->type())) {
        return false;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        stop_ = true;
    }
    return true;
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
    FilePanel::setMark(items_[outcome.index], markFor(outcome.status));
    lastDone_ = outcome.index;
    if (outcome.failure) {
        items_[outcome.index].setSelected(true); // the message is about the file in view
        report(outcome);
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
        items_[*lastDone_].setSelected(true);
    }
}

// A picture that cannot be shown is simply not shown: the run reports the file's own
// failures, and a preview is no reason to stop it.
std::optional<BatchProgress::Frame> BatchProgress::decodeFrame(std::size_t index) const {
    const std::filesystem::path& file = files_[index];
    try {
        Frame frame{index, readPictureSize(FileByteSource(file)), decodePictureFile(file), {}};
        frame.after = decodePicture(ConvertedPicture(file, request_));
        return frame;
    } catch (const AppError&) {
    } catch (const Error&) {
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

void BatchProgress::report(const FileOutcome& outcome) {
    ignoringInput_ = false; // the message box needs its OK button
    window_.dialogs_.ShowError(&window_, batchFailure(outcome), QStringLiteral("変換エラー"));
    ignoringInput_ = true;
}

} // namespace pixtint
