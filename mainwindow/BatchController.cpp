// SPDX-License-Identifier: MIT
#include "mainwindow/BatchController.h"

#include "dialogs/Dialogs.h"
#include "mainwindow/BatchWorker.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/PreviewPresenter.h"

#include <QShortcut>
#include <QWidget>

namespace pixtint {

namespace {

QString stoppedMessage(const BatchTally& tally) {
    return QStringList{BatchController::tr("変換を中止しました。"),
                       BatchController::tr("%n 個のファイルを変換しました。", nullptr,
                                           static_cast<int>(tally.converted)),
                       BatchController::tr("%n 個のファイルは処理されませんでした。", nullptr,
                                           static_cast<int>(tally.notReached))}
        .join(QStringLiteral("\r\n"));
}

} // namespace

BatchController::BatchController(QWidget& window, Dialogs& dialogs, FilePanel& files,
                                 PreviewPresenter& preview)
    : window_(window)
    , dialogs_(dialogs)
    , files_(files)
    , preview_(preview)
    , stopShortcut_(new QShortcut(QKeySequence(Qt::Key_Escape), &window)) {
    stopShortcut_->setEnabled(false);
    connect(stopShortcut_, &QShortcut::activated, this, &BatchController::requestStop);
}

BatchController::~BatchController() = default;

void BatchController::start(std::vector<int> rows, const ConversionRequest& request) {
    rows_ = std::move(rows);
    lastDone_.reset();
    // The worker gets its own copy of the paths: it reads them on its thread while the list
    // may change on this one.
    worker_ = std::make_unique<BatchWorker>(files_.pathsOf(rows_), request, nullptr);
    connect(worker_.get(), &BatchWorker::fileDone, this, &BatchController::fileDone);
    connect(worker_.get(), &BatchWorker::fileFailed, this, &BatchController::fileFailed);
    connect(worker_.get(), &BatchWorker::frameReady, this, &BatchController::showFrame);
    connect(worker_.get(), &BatchWorker::finished, this, &BatchController::finished);
    busy_.emplace();
    stopShortcut_->setEnabled(true);
    emit runningChanged(true);
    worker_->start();
}

void BatchController::requestStop() {
    if (worker_) {
        worker_->requestStop();
    }
}

void BatchController::fileDone(std::size_t index, ItemMark mark) {
    files_.fileList().setMark(rows_[index], mark);
    lastDone_ = index;
}

void BatchController::fileFailed(std::size_t index, const NumberedMessage& message,
                                 bool unshowable) {
    files_.fileList().selectRow(rows_[index]); // the message is about the file in view
    dialogs_.showMessage(&window_, message.text(), QMessageBox::Critical,
                         unshowable ? tr("BMPエラー") : tr("変換エラー"));
    if (worker_) {
        worker_->failureShown();
    }
}

void BatchController::showFrame() {
    const std::optional<BatchFrame> frame = worker_ ? worker_->takeFrame() : std::nullopt;
    if (!frame) {
        return;
    }
    files_.fileList().selectRow(rows_[frame->index]);
    preview_.showBatchFrame(*frame, frame->file);
}

void BatchController::finished(const BatchTally& tally) {
    worker_.release()->deleteLater(); // it is telling this now
    busy_.reset();
    stopShortcut_->setEnabled(false);
    emit runningChanged(false);
    if (lastDone_) {
        files_.fileList().selectRow(rows_[*lastDone_]);
    }
    // The closing run is a plain preview of the item selected now, to show the final state.
    preview_.previewSelectedFile();
    dialogs_.showMessage(&window_, tally.stopped ? stoppedMessage(tally) : tr("変換終了！"),
                         QMessageBox::NoIcon);
    emit ended();
}

} // namespace pixtint
