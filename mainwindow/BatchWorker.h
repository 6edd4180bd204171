// SPDX-License-Identifier: MIT
#pragma once

#include "commit/FileOutcome.h"
#include "conversion/ConversionRequest.h"
#include "mainwindow/BatchFrame.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/ItemMark.h"
#include "mainwindow/WorkerThread.h"

#include <QImage>
#include <QObject>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace pixtint {

class ByteSource;

class Error;

// How a batch ended.
struct BatchTally {
    std::size_t converted = 0;      // rewritten: "OK"
    std::size_t unchanged = 0;      // nothing to change, not rewritten: "OK"
    std::size_t notConvertible = 0; // found to be of a kind the run leaves alone
    std::size_t failed = 0;         // "NG"
    std::size_t notReached = 0;     // a stop came before them
    bool stopped = false;
};

// The window's batch on a thread of its own. The window converts exactly the files its preview
// can show: the conversion core leaves a file it cannot load as it is, and it ends "NG" in its
// place in the list's order. Everything the run tells the window arrives as signals on the
// window's thread, in list order: each file's mark (the marks of a frame interval together);
// a failure, for which the run waits until failureShown() says its message box was closed (a
// folder that cannot be written is one failure, and every file of it ends "NG");
// now and then a frame (at most about 30 a second, the next only once the window took the
// last); and finally `finished`.
class BatchWorker : public QObject {
    Q_OBJECT
public:
    BatchWorker(std::vector<std::filesystem::path> files, ConversionRequest request,
                QObject* parent);
    // Stops the run after the file in hand and waits for it, without showing anything more.
    ~BatchWorker() override;

    void start();
    // The run stops after the file in hand, once its group is in place.
    void requestStop() { stop_ = true; }
    // The message box of the last failure was closed: the run goes on.
    void failureShown();
    // The frame waiting to be shown, if any; the next one is made only after this.
    std::optional<BatchFrame> takeFrame();

signals:
    void fileDone(std::size_t index, ItemMark mark);
    // A file that failed, the run waiting for failureShown(): one the preview cannot load
    // (`unshowable`), or one the conversion core could not convert.
    void fileFailed(std::size_t index, const NumberedMessage& message, bool unshowable);
    void frameReady();
    void finished(const BatchTally& tally);

private:
    void work();
    void vet(std::size_t index, const ByteSource& source);
    std::optional<NumberedMessage> unshowableCause(const FileOutcome& outcome);
    void report(const FileOutcome& outcome);
    void count(FileStatus status);
    void refuseFolder(const Error& refusal, std::size_t index);
    void endTheRest();
    void mark(std::size_t index, ItemMark mark);
    void postMarks();
    void failAndWait(std::size_t index, const NumberedMessage& message, bool unshowable);
    void offerFrame(std::size_t index);
    template <typename Function> void post(Function&& function);

    const std::vector<std::filesystem::path> files_;
    const ConversionRequest request_;
    WorkerThread thread_;
    std::atomic<bool> stop_{false};

    // Worker thread only.
    BatchTally tally_;
    bool folderRefused_ = false; // its folder takes no new file: the rest of the run fails
    std::size_t reported_ = 0;
    std::vector<bool> vetted_;                          // opened by the run and seen by the vet
    std::map<std::size_t, NumberedMessage> unshowable_; // vetted out, until reported
    std::chrono::steady_clock::time_point lastFrame_{};
    std::chrono::steady_clock::time_point lastMarks_{};

    std::mutex mutex_; // guards what follows
    std::optional<BatchFrame> frame_;
    std::vector<std::pair<std::size_t, ItemMark>> marks_; // not yet posted to the window
    bool marksPosted_ = false;
};

} // namespace pixtint
