// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/RestoreWorker.h"
#include "widgets/BusyCursor.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QShortcut;
class QWidget;

namespace pixtint {

class Dialogs;
class FilePanel;
class StatusBar;

// Undo in the window: puts back each ticked picture's backup (NAME.bak) through the conversion
// core, with the core's promise (one rename each, the folders flushed before the answer), on a
// thread of its own. The list's marks, its selection and the status bar follow the pictures as
// they are done; each failure is shown in a box, in list order, while the restore waits for it;
// Esc stops it after the picture in hand. A picture without a backup, or whose NAME.bak is not
// one (a user's text file, a link), is left alone with that file.
class RestoreController : public QObject {
    Q_OBJECT
public:
    // Its boxes, busy pointer and Esc belong to `window`.
    RestoreController(QWidget& window, Dialogs& dialogs, FilePanel& files, StatusBar& statusBar);
    // A restore still running is stopped after the picture in hand and waited for.
    ~RestoreController() override;

    // Restores the pictures of the list's `rows`.
    void start(std::vector<int> rows);
    bool running() const { return worker_ != nullptr; }
    void requestStop();

signals:
    void runningChanged(bool running);
    // The restore ended, or was stopped; the pictures are on the disk as `tally` counts.
    void ended(const RestoreTally& tally);

private:
    void picturesDone(std::size_t first, const std::vector<RestoreStatus>& statuses);
    void pictureFailed(std::size_t index, const NumberedMessage& message);
    void finished(const RestoreTally& tally);
    void showInHand(std::size_t index);

    QWidget& window_;
    Dialogs& dialogs_;
    FilePanel& files_;
    StatusBar& statusBar_;
    QShortcut* stopShortcut_ = nullptr; // owned by the window

    std::unique_ptr<RestoreWorker> worker_;
    std::vector<int> rows_;
    std::optional<BusyCursor> busy_;
};

// The closing message: how many pictures were put back, how many had no backup or failed, and
// how many a stop left as they were.
QString restoreSummary(const RestoreTally& tally);

} // namespace pixtint
