// SPDX-License-Identifier: MIT
#include "mainwindow/BatchWorker.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/PreviewTexts.h"
#include "mainwindow/StatusBar.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"

#include <QCloseEvent>
#include <QShortcut>

namespace pixtint {

// The batch: "変換実行" hands every ticked convertible file to the conversion core on a thread
// of its own, which replaces each by its converted picture. The window stays responsive: it
// marks each file as it ends, shows a frame of the file in hand now and then, shows each
// failure in list order while the run waits for its box, and shows the final state at the end.
// Nothing that could change the batch takes input meanwhile; Esc, or closing the window, stops
// it after the file in hand.

namespace {

QString stoppedMessage(const BatchTally& tally) {
    return QStringList{MainWindow::tr("変換を中止しました。"),
                       MainWindow::tr("%n 個のファイルを変換しました。", nullptr,
                                      static_cast<int>(tally.converted)),
                       MainWindow::tr("%n 個のファイルは処理されませんでした。", nullptr,
                                      static_cast<int>(tally.notReached))}
        .join(QStringLiteral("\r\n"));
}

} // namespace

void MainWindow::addBatchStop() {
    stopShortcut_ = new QShortcut(QKeySequence(Qt::Key_Escape), this); // owned by the window
    stopShortcut_->setEnabled(false);
    connect(stopShortcut_, &QShortcut::activated, this, [this] {
        if (batch_) {
            batch_->requestStop();
        }
    });
}

void MainWindow::convertCheckedFiles() {
    if (filePanel_->fileList().count() == 0) {
        dialogs_.showMessage(this, tr("変換するファイルがありません！"), QMessageBox::Warning);
        return;
    }
    startBatch();
}

void MainWindow::startBatch() {
    batchRows_ = filePanel_->chosenRows();
    batchFiles_ = filePanel_->pathsOf(batchRows_);
    lastDone_.reset();
    batch_ = std::make_unique<BatchWorker>(batchFiles_, currentRequest(), nullptr);
    connect(batch_.get(), &BatchWorker::fileDone, this, &MainWindow::batchFileDone);
    connect(batch_.get(), &BatchWorker::fileFailed, this, &MainWindow::batchFileFailed);
    connect(batch_.get(), &BatchWorker::frameReady, this, &MainWindow::showBatchFrame);
    connect(batch_.get(), &BatchWorker::finished, this, &MainWindow::batchFinished);
    busy_.emplace();
    stopShortcut_->setEnabled(true);
    applyEnabledState();
    batch_->start();
}

void MainWindow::batchFileDone(std::size_t index, ItemMark mark) {
    filePanel_->fileList().setMark(batchRows_[index], mark);
    lastDone_ = index;
}

void MainWindow::batchFileFailed(std::size_t index, const NumberedMessage& message,
                                 bool unshowable) {
    filePanel_->fileList().selectRow(batchRows_[index]); // the message is about the file in view
    showError(message, unshowable ? tr("BMPエラー") : tr("変換エラー"));
    if (batch_) {
        batch_->failureShown();
    }
}

// Both pictures and the status bar show one file, read by the run: the window reads nothing.
void MainWindow::showBatchFrame() {
    const std::optional<BatchFrame> frame = batch_ ? batch_->takeFrame() : std::nullopt;
    if (!frame) {
        return;
    }
    filePanel_->fileList().selectRow(batchRows_[frame->index]);
    statusBar_->setText(StatusBar::Field::FileSize, PreviewTexts::sizeText(frame->fileBytes));
    statusBar_->setText(StatusBar::Field::Path, displayPath(batchFiles_[frame->index]));
    showPictureSize(frame->size);
    previewArea_->showPictures(frame->before, frame->after);
    // A size the preview cannot place keeps the images where they are.
    if (const auto shown = displaySize(frame->size)) {
        placePreviewImages(*shown);
    }
}

void MainWindow::batchFinished(const BatchTally& tally) {
    batch_.release()->deleteLater(); // it is telling this now
    busy_.reset();
    stopShortcut_->setEnabled(false);
    applyEnabledState();
    if (lastDone_) {
        filePanel_->fileList().selectRow(batchRows_[*lastDone_]);
    }
    // The closing run is a plain preview of the item selected now, to show the final state.
    previewSelectedFile();
    dialogs_.showMessage(this, tally.stopped ? stoppedMessage(tally) : tr("変換終了！"),
                         QMessageBox::NoIcon);
    if (closeAfterBatch_) {
        close();
    }
}

// Closing the window during a batch stops it after the file in hand; the window closes once
// that file's group is in place and the closing box was seen.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (batch_) {
        closeAfterBatch_ = true;
        batch_->requestStop();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace pixtint
