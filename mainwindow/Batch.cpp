#include "conversion/BatchRun.h"
#include "mainwindow/BatchProgress.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"

namespace pixtint {

// Batch conversion: every ticked convertible item goes through the conversion core, which
// replaces each file by its converted picture; the window shows the progress.

namespace {

bool isChosen(const ListItem& item) {
    const QString key = item.SmallIcon();
    return item.Checked() && (key == QLatin1String("BMP") || key == QLatin1String("OK"));
}

} // namespace

void frmMain::Command4_Click() {
    if (ListView1->Count() == 0) {
        dialogs_.MsgBox(this, QStringLiteral("変換するファイルがありません！"),
                        Dialogs::Icon::Exclamation);
        return;
    }
    ConvertCheckedItems();
    dialogs_.MsgBox(this, QStringLiteral("変換終了！"), Dialogs::Icon::None);
}

void frmMain::ConvertCheckedItems() {
    BusyPointer busy(*this);
    const QString folder = Label1->Caption();
    std::vector<ListItem> items;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i <= ListView1->Count(); ++i) {
        const ListItem item = ListView1->Item(i);
        if (isChosen(item)) {
            items.push_back(item);
            files.push_back(PathInFolder(folder, item.FileName()));
        }
    }
    const ConversionRequest request = CurrentRequest();
    {
        BatchProgress progress(*this, std::move(items), std::move(files), request);
        BatchRun(request).run(progress.files(), progress.callbacks());
    }
    // The closing run is a plain preview of the item selected now, to show the final state.
    ListView1_Click();
}

void frmMain::ShowBatchPreview(const std::filesystem::path& file, PictureSize size,
                               const QImage& before, const QImage& after) {
    try {
        ShowFileInStatusBar(file);
        ShowPictureSize(size);
        Image1[0]->setPicture(before);
        Image1[1]->setPicture(after);
        PlacePreviewImages(displayTwips(size.width), displayTwips(size.height));
    } catch (const AppError&) {
        // A file gone since it was decoded shows what could be shown.
    }
}

} // namespace pixtint
