// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionRequest.h"
#include "mainwindow/ItemMark.h"
#include "widgets/BusyCursor.h"

#include <QObject>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QShortcut;
class QWidget;

namespace pixtint {

class BatchWorker;
struct BatchTally;
class Dialogs;
class FilePanel;
class PreviewPresenter;
struct NumberedMessage;

// The batch: hands files of the list to the conversion core on a thread of its own, which
// replaces each by its converted picture. The window stays responsive: each file is marked as
// it ends, a frame of the file in hand is shown now and then, each failure is shown in list
// order while the run waits for its box, and the final state is shown at the end. Esc stops
// the run after the file in hand.
class BatchController : public QObject {
    Q_OBJECT
public:
    // Its boxes, busy cursor and Esc belong to `window`.
    BatchController(QWidget& window, Dialogs& dialogs, FilePanel& files, PreviewPresenter& preview);
    // A batch still running is stopped after the file in hand and waited for.
    ~BatchController() override;

    // Converts the list's `rows` as `request` asks.
    void start(std::vector<int> rows, const ConversionRequest& request);
    bool running() const { return worker_ != nullptr; }
    // The run stops after the file in hand, once its group is in place.
    void requestStop();

signals:
    // A batch started, or its worker ended (before the final state is shown).
    void runningChanged(bool running);
    // The final state of a batch was shown and its closing box seen.
    void ended();

private:
    void fileDone(std::size_t index, ItemMark mark);
    void fileFailed(std::size_t index, const NumberedMessage& message, bool unshowable);
    void showFrame();
    void finished(const BatchTally& tally);

    QWidget& window_;
    Dialogs& dialogs_;
    FilePanel& files_;
    PreviewPresenter& preview_;
    QShortcut* stopShortcut_ = nullptr; // owned by the window

    // The batch while it runs: the list row of each file, and the last file done.
    std::unique_ptr<BatchWorker> worker_;
    std::vector<int> rows_;
    std::optional<std::size_t> lastDone_;
    std::optional<BusyCursor> busy_;
};

} // namespace pixtint
