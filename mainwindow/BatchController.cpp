// SPDX-License-Identifier: MIT
#include "mainwindow/BatchController.h"

#include "dialogs/Dialogs.h"
#include "mainwindow/BatchWorker.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/PreviewPresenter.h"
#include "mainwindow/RunSummary.h"

#include <QShortcut>
#include <QWidget>

namespace pixtint {

namespace {

// 「変換終了！」 alone when every file was converted; otherwise what became of the files.
QString closingMessage(const BatchTally& tally) {
    const QString finished = BatchController::tr("変換終了！");
    if (!tally.stopped && tally.unchanged == 0 && tally.skipped == 0 && tally.failed == 0) {
        return finished;
    }
    const auto files = &RunSummary::pluralNumber;
    return RunSummary(tally.stopped ? BatchController::tr("変換を中止しました。") : finished)
        .count(tally.converted, BatchController::tr("%n 個のファイルを変換しました。", nullptr,
                                                    files(tally.converted)))
        .count(tally.unchanged,
               BatchController::tr("%n 個のファイルは変える色がないため、そのままです。", nullptr,
                                   files(tally.unchanged)))
        .count(tally.skipped,
               BatchController::tr("%n 個のファイルは変換できない種類のため、そのままです。",
                                   nullptr, files(tally.skipped)))
        .count(tally.failed, BatchController::tr("%n 個のファイルは変換できませんでした。", nullptr,
                                                 files(tally.failed)))
        .count(tally.notReached, BatchController::tr("%n 個のファイルは処理されませんでした。",
                                                     nullptr, files(tally.notReached)))
        .text();
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
    // The message is about the file in view, and in the status bar.
    files_.fileList().selectRow(rows_[index]);
    preview_.showBatchFailure(files_.pathOf(rows_[index]));
    if (dialogs_.showRunFailure(&window_, message.text(),
                                unshowable ? tr("BMPエラー") : tr("変換エラー"))) {
        requestStop();
    }
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
    // The closing run is a plain preview of the item selected now, to show the final state;
    // the closing box follows it.
    preview_.previewSelectedFile();
    const auto close = [this, tally] {
        dialogs_.showMessage(&window_, closingMessage(tally), QMessageBox::NoIcon);
        emit ended();
    };
    if (preview_.pending()) {
        connect(&preview_, &PreviewPresenter::previewShown, this, close, Qt::SingleShotConnection);
    } else {
        close();
    }
}

} // namespace pixtint
