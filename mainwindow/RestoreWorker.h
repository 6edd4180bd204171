// SPDX-License-Identifier: MIT
#pragma once

#include "commit/BackupRestore.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/WorkerThread.h"

#include <QObject>
#include <atomic>
#include <filesystem>
#include <vector>

namespace pixtint {

// How a restore from the window ended, picture by picture counted.
struct RestoreTally {
    int restored = 0;
    int withoutBackup = 0;
    int notBackups = 0; // NAME.bak holds something else than an earlier backup
    int failed = 0;
    int notReached = 0; // a stop came before them
};

// The window's restore on a thread of its own: puts back each picture's backup through the
// conversion core, in list order. It tells the window, on the window's thread: the outcomes so
// far, about ten times a second; each failure,
// for which it waits until failureShown() says its box was closed; and finally `finished`.
class RestoreWorker : public QObject {
    Q_OBJECT
public:
    explicit RestoreWorker(std::vector<std::filesystem::path> pictures);
    // Stops after the picture in hand and waits for it, without showing anything more.
    ~RestoreWorker() override;

    void start();
    // The restore stops after the picture in hand, once it is on the disk.
    void requestStop() { stop_ = true; }
    void failureShown();

signals:
    // Pictures [first, end) ended as `statuses` say, in list order.
    void picturesDone(std::size_t first, const std::vector<RestoreStatus>& statuses);
    void pictureFailed(std::size_t index, const NumberedMessage& message);
    void finished(const RestoreTally& tally);

private:
    void work();
    void count(const std::filesystem::path& picture, const RestoreOutcome& outcome);
    void postDone();
    template <typename Function> void post(Function&& function);

    const std::vector<std::filesystem::path> pictures_;
    WorkerThread thread_;
    std::atomic<bool> stop_{false};

    // Worker thread only.
    RestoreTally tally_;
    std::size_t reported_ = 0;
    std::size_t posted_ = 0;              // outcomes before this one have been sent to the window
    std::vector<RestoreStatus> statuses_; // not yet sent
};

// The box that tells why a picture was not put back.
NumberedMessage restoreFailureMessage(const std::filesystem::path& picture,
                                      const RestoreOutcome& outcome);

} // namespace pixtint
