// SPDX-License-Identifier: MIT
#include "mainwindow/RestoreWorker.h"

#include "desktop/FilePaths.h"

#include <QCoreApplication>
#include <chrono>
#include <cstring>
#include <span>

namespace pixtint {

namespace {

constexpr auto RunLength = std::chrono::milliseconds(100);

bool isFailure(RestoreStatus status) {
    return status == RestoreStatus::Failed || status == RestoreStatus::NotFlushed ||
           status == RestoreStatus::FolderNotWritable;
}

} // namespace

// The error's number and description, then what became of the picture.
NumberedMessage restoreFailureMessage(const std::filesystem::path& picture,
                                      const RestoreOutcome& outcome) {
    NumberedMessage message = outcome.error ? numberedMessage(*outcome.error)
                                            : numberedMessage(MessageNumber::DeviceIoError);
    if (outcome.status == RestoreStatus::FolderNotWritable && outcome.error) {
        message.description +=
            QStringLiteral("\r\n") +
            QCoreApplication::translate("RestoreFromBackup", "フォルダ %1 に書き込めません（%2）。")
                .arg(displayPath(picture.parent_path()),
                     QString::fromLocal8Bit(std::strerror(outcome.error->systemError())));
    }
    const QString whatBecame =
        outcome.status == RestoreStatus::NotFlushed
            ? QCoreApplication::translate(
                  "RestoreFromBackup",
                  "%1 は元に戻しましたが、ディスクに書き込まれていない可能性があります。")
            : QCoreApplication::translate("RestoreFromBackup", "%1 は元に戻せませんでした。");
    message.description += QStringLiteral("\r\n") + whatBecame.arg(displayPath(picture.filename()));
    return message;
}

RestoreWorker::RestoreWorker(std::vector<std::filesystem::path> pictures)
    : pictures_(std::move(pictures)) {}

RestoreWorker::~RestoreWorker() {
    stop_ = true;
    thread_.abandonAndWait();
}

void RestoreWorker::start() {
    thread_.start([this] { work(); });
}

void RestoreWorker::failureShown() {
    thread_.boxClosed();
}

// Runs `function` on the window's thread; dropped when the window goes first.
template <typename Function> void RestoreWorker::post(Function&& function) {
    QMetaObject::invokeMethod(this, std::forward<Function>(function), Qt::QueuedConnection);
}

// The core tells a folder's outcomes only once the folder is flushed, so the list is restored in
// runs of about a tenth of a second: the window hears of each run as it ends, for one flush more
// a run. The core stays one, so that what an interrupted conversion left in a folder is finished
// once.
void RestoreWorker::work() {
    BackupRestore restore;
    std::chrono::steady_clock::time_point runStart;
    const RestoreCallbacks callbacks{
        .outcome = [this](const std::filesystem::path& picture,
                          const RestoreOutcome& outcome) { count(picture, outcome); },
        .stopRequested =
            [this, &runStart] {
                return stop_.load() || std::chrono::steady_clock::now() - runStart >= RunLength;
            },
        .recovered = {}};
    while (reported_ < pictures_.size() && !stop_) {
        runStart = std::chrono::steady_clock::now();
        restore.restore(std::span(pictures_).subspan(reported_), callbacks);
        postDone();
    }
    tally_.notReached = static_cast<int>(pictures_.size() - reported_);
    postDone();
    post([this, tally = tally_] { emit finished(tally); });
}

void RestoreWorker::count(const std::filesystem::path& picture, const RestoreOutcome& outcome) {
    const std::size_t index = reported_++;
    statuses_.push_back(outcome.status);
    switch (outcome.status) {
    case RestoreStatus::Restored:
        ++tally_.restored;
        break;
    case RestoreStatus::NoBackup:
        ++tally_.withoutBackup;
        break;
    case RestoreStatus::NotABackup:
        ++tally_.notBackups;
        break;
    case RestoreStatus::Failed:
    case RestoreStatus::NotFlushed:
    case RestoreStatus::FolderNotWritable:
        ++tally_.failed;
        break;
    }
    if (!isFailure(outcome.status)) {
        return;
    }
    postDone();
    thread_.showBoxAndWait([&] {
        post([this, index, message = restoreFailureMessage(picture, outcome)] {
            emit pictureFailed(index, message);
        });
    });
}

// The outcomes not yet told travel to the window together.
void RestoreWorker::postDone() {
    if (statuses_.empty()) {
        return;
    }
    post([this, first = posted_, statuses = std::exchange(statuses_, {})] {
        emit picturesDone(first, statuses);
    });
    posted_ = reported_;
}

} // namespace pixtint
