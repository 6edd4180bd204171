// SPDX-License-Identifier: MIT
#include "mainwindow/RestoreFromBackup.h"

#include "desktop/FilePaths.h"
#include "dialogs/Dialogs.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/RunSummary.h"
#include "mainwindow/StatusBar.h"

#include <QCoreApplication>
#include <QShortcut>
#include <QWidget>

namespace pixtint {

RestoreController::RestoreController(QWidget& window, Dialogs& dialogs, FilePanel& files,
                                     StatusBar& statusBar)
    : window_(window)
    , dialogs_(dialogs)
    , files_(files)
    , statusBar_(statusBar)
    , stopShortcut_(new QShortcut(QKeySequence(Qt::Key_Escape), &window)) {
    stopShortcut_->setEnabled(false);
    connect(stopShortcut_, &QShortcut::activated, this, &RestoreController::requestStop);
}

RestoreController::~RestoreController() = default;

void RestoreController::start(std::vector<int> rows) {
    rows_ = std::move(rows);
    worker_ = std::make_unique<RestoreWorker>(files_.pathsOf(rows_));
    connect(worker_.get(), &RestoreWorker::picturesDone, this, &RestoreController::picturesDone);
    connect(worker_.get(), &RestoreWorker::pictureFailed, this, &RestoreController::pictureFailed);
    connect(worker_.get(), &RestoreWorker::finished, this, &RestoreController::finished);
    busy_.emplace();
    stopShortcut_->setEnabled(true);
    emit runningChanged(true);
    worker_->start();
}

void RestoreController::requestStop() {
    if (worker_) {
        worker_->requestStop();
    }
}

// A picture put back is its original again, which the list marks as convertible; the others
// keep their marks until the list is read again.
void RestoreController::picturesDone(std::size_t first,
                                     const std::vector<RestoreStatus>& statuses) {
    std::vector<int> restored;
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        if (statuses[i] == RestoreStatus::Restored) {
            restored.push_back(rows_[first + i]);
        }
    }
    files_.fileList().setMarks(restored, ItemMark::Convertible);
    if (!statuses.empty()) {
        showInHand(first + statuses.size() - 1);
    }
}

void RestoreController::pictureFailed(std::size_t index, const NumberedMessage& message) {
    showInHand(index); // the message is about the picture in view
    dialogs_.showMessage(&window_, message.text(), QMessageBox::Critical,
                         QCoreApplication::translate("RestoreFromBackup", "復元エラー"));
    if (worker_) {
        worker_->failureShown();
    }
}

void RestoreController::showInHand(std::size_t index) {
    files_.fileList().selectRow(rows_[index]);
    statusBar_.setText(StatusBar::Field::Path, displayPath(files_.pathOf(rows_[index])));
}

void RestoreController::finished(const RestoreTally& tally) {
    worker_.release()->deleteLater(); // it is telling this now
    busy_.reset();
    stopShortcut_->setEnabled(false);
    emit runningChanged(false);
    emit ended(tally);
}

QString restoreSummary(const RestoreTally& tally) {
    const QString stopped =
        tally.notReached > 0
            ? QCoreApplication::translate("RestoreFromBackup", "元に戻すのを中止しました。")
            : QString();
    return RunSummary(stopped)
        .count(tally.restored,
               QCoreApplication::translate("RestoreFromBackup", "%n 個のファイルを元に戻しました。",
                                           nullptr, tally.restored))
        .count(tally.withoutBackup,
               QCoreApplication::translate("RestoreFromBackup",
                                           "%n 個のファイルにはバックアップがありませんでした。",
                                           nullptr, tally.withoutBackup))
        .count(tally.notBackups, QCoreApplication::translate(
                                     "RestoreFromBackup",
                                     "%n 個のファイルは、その .bak がバックアップではないため、"
                                     "元に戻しませんでした。",
                                     nullptr, tally.notBackups))
        .count(tally.failed, QCoreApplication::translate("RestoreFromBackup",
                                                         "%n 個のファイルは元に戻せませんでした。",
                                                         nullptr, tally.failed))
        .count(tally.notReached, QCoreApplication::translate(
                                     "RestoreFromBackup", "%n 個のファイルは処理されませんでした。",
                                     nullptr, tally.notReached))
        .text();
}

} // namespace pixtint
