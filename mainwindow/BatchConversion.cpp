#include "conversion/BatchRun.h"
#include "engine/AppError.h"
#include "mainwindow/BatchProgress.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"

namespace pixtint {

// The batch: "変換実行" hands every ticked convertible file to the conversion core, which
// replaces each by its converted picture; the window shows the progress, then the final state.

void MainWindow::convertCheckedFiles() {
    if (filePanel_->fileCount() == 0) {
        dialogs_.MsgBox(this, QStringLiteral("変換するファイルがありません！"),
                        Dialogs::Icon::Exclamation);
        return;
    }
    runBatch();
    dialogs_.MsgBox(this, QStringLiteral("変換終了！"), Dialogs::Icon::None);
}

void MainWindow::runBatch() {
    BusyPointer busy(*this);
    std::vector<ListItem> items = filePanel_->chosenItems();
    std::vector<std::filesystem::path> files;
    for (const ListItem& item : items) {
        files.push_back(PathInFolder(state_.folder, item.FileName()));
    }
    const ConversionRequest request = currentRequest();
    {
        BatchProgress progress(*this, std::move(items), std::move(files), request);
        BatchRun(request).run(progress.files(), progress.callbacks());
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
    } catch (const AppError&) {
        // A file gone since it was decoded shows what could be shown.
    }
}

} // namespace pixtint
