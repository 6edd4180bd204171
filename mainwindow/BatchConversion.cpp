// SPDX-License-Identifier: MIT
#include "mainwindow/BatchProgress.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"

#include <QScopedValueRollback>

namespace pixtint {

// The batch: "変換実行" hands every ticked convertible file to the conversion core, which
// replaces each by its converted picture; the window shows the progress, then the final state.

void MainWindow::convertCheckedFiles() {
    if (filePanel_->fileList().count() == 0) {
        dialogs_.showMessage(this, tr("変換するファイルがありません！"), QMessageBox::Warning);
        return;
    }
    runBatch();
    dialogs_.showMessage(this, tr("変換終了！"), QMessageBox::NoIcon);
}

void MainWindow::runBatch() {
    BusyCursor busy;
    const QScopedValueRollback running(batchRunning_, true);
    std::vector<int> rows = filePanel_->chosenRows();
    std::vector<std::filesystem::path> files = filesAt(rows);
    {
        BatchProgress progress(*this, std::move(rows), std::move(files), currentRequest());
        progress.run();
        progress.selectLastDone();
    }
    // The closing run is a plain preview of the item selected now, to show the final state.
    previewSelectedFile();
}

void MainWindow::showBatchPreview(const std::filesystem::path& file, PictureSize size,
                                  const QImage& before, const QImage& after) {
    try {
        showFileInStatusBar(file);
        showPictureSize(size);
        previewArea_->showPictures(before, after);
        placePreviewImages(displaySize(size));
    } catch (...) {
        // A file gone since it was decoded shows what could be shown.
    }
}

} // namespace pixtint
