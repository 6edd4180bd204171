#pragma once

#include "conversion/BatchRun.h"
#include "mainwindow/DisplaySize.h"
#include "platform/ListView.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <filesystem>
#include <optional>
#include <vector>

namespace pixtint {

class MainWindow;

// What the window shows while a batch runs. Each file's outcome marks its item and moves the
// selection at once, but the screen, the preview and the status bar follow at the display's
// pace (about 30 frames a second), so a thousand icons cost a few dozen repaints, not a
// thousand. Between frames no picture is decoded. Input other than Esc is ignored while the
// run lasts; Esc asks it to stop after the current file.
class BatchProgress : public QObject {
public:
    BatchProgress(MainWindow& window, std::vector<ListItem> items,
                  std::vector<std::filesystem::path> files, ConversionRequest request);
    ~BatchProgress() override;

    BatchCallbacks callbacks();
    // Selects the last file done, where the run ended.
    void selectLastDone();
    const std::vector<std::filesystem::path>& files() const { return files_; }

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

    void aboutToReplace(std::size_t index);
    void fileDone(const FileOutcome& outcome);
    bool stopRequested();
    bool frameDue() const;
    void showFrame();
    std::optional<Frame> decodeFrame(std::size_t index) const;
    void report(const FileOutcome& outcome);

    MainWindow& window_;
    std::vector<ListItem> items_;
    std::vector<std::filesystem::path> files_;
    ConversionRequest request_;
    QElapsedTimer sinceFrame_;
    std::optional<Frame> pending_;
    std::optional<std::size_t> lastDone_;
    bool stop_ = false;
    bool ignoringInput_ = true;
};

} // namespace pixtint
