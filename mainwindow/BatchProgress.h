// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/BatchRun.h"
#include "mainwindow/DisplaySize.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/ItemMark.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <filesystem>
#include <optional>
#include <vector>

namespace pixtint {

class MainWindow;

// A batch as the window runs and shows it. The window converts exactly the files its preview
// can show: a file it cannot load is not handed to the conversion core, and ends "NG" with the
// preview's "BMPエラー", in its place in the list's order.
//
// Each file's outcome marks its item at once, but the selection, the preview and the status
// bar follow at the display's pace (about 30 frames a second), so a thousand icons cost a few
// dozen repaints, not a thousand. Between frames no picture is decoded. Input to the main
// window other than Esc is ignored while the run lasts; Esc asks it to stop after the current
// file. A message box (an error, the size message) takes its input as always, and the run goes
// on once it is closed.
class BatchProgress : public QObject {
public:
    BatchProgress(MainWindow& window, std::vector<int> rows,
                  std::vector<std::filesystem::path> files, ConversionRequest request);
    ~BatchProgress() override;

    void run();
    // Selects the last file done, where the run ended.
    void selectLastDone();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Both pictures of one file, so the two previews never show two different files.
    struct Frame {
        std::size_t index = 0;
        PictureSize size;
        QImage before;
        QImage after;
    };

    // Hands files [first, end) to the core; false when it was asked to stop.
    bool convert(std::size_t first, std::size_t end);
    BatchCallbacks callbacks(std::size_t first);
    void failUnshowable(std::size_t index, const NumberedMessage& cause);
    void aboutToReplace(std::size_t index);
    void fileDone(const FileOutcome& outcome);
    void markDone(std::size_t index, ItemMark mark);
    bool stopRequested();
    bool frameDue() const;
    void showFrame();
    std::optional<Frame> decodeFrame(std::size_t index) const;
    bool isForMainWindow(QObject* watched) const;

    MainWindow& window_;
    std::vector<int> rows_; // the list row of each file
    std::vector<std::filesystem::path> files_;
    ConversionRequest request_;
    QElapsedTimer sinceFrame_;
    std::optional<Frame> pending_;
    std::optional<std::size_t> lastDone_;
    bool stop_ = false;
};

} // namespace pixtint
