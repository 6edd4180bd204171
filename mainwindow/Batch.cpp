#include "engine/AppError.h"
#include "engine/PosixFile.h"
#include "mainwindow/PendingBackup.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"

#include <optional>

namespace pixtint {

// Batch conversion: every ticked convertible item in turn goes through the preview step with
// the batch running flag set, which replaces the file by its converted picture.

namespace {

bool isChosen(const ListItem& item) {
    const QString key = item.SmallIcon();
    return item.Checked() && (key == QLatin1String("BMP") || key == QLatin1String("OK"));
}

} // namespace

void frmMain::Command4_Click() {
    if (!ConvertCheckedItems()) {
        dialogs_.MsgBox(this, QStringLiteral("変換するファイルがありません！"),
                        Dialogs::Icon::Exclamation);
        return;
    }
    dialogs_.MsgBox(this, QStringLiteral("変換終了！"), Dialogs::Icon::None);
}

bool frmMain::ConvertCheckedItems() {
    BusyPointer busy(*this);
    batchRunning_ = true;
    const QString folder = Label1->Caption();
    if (ListView1->Count() == 0) {
        batchRunning_ = false;
        return false;
    }
    bool convertedAny = false;
    for (int i = 1; i <= ListView1->Count(); ++i) {
        ListItem item = ListView1->Item(i);
        if (isChosen(item)) {
            ConvertItem(item, folder);
            convertedAny = true;
        }
        ListView1->Refresh();
        repaint();
    }
    // Each converted picture and backup was renamed into the folder whole; one flush of the
    // folder makes all those renames last, instead of one flush for each.
    if (convertedAny) {
        syncFolderOf(PathInFolder(folder, "."));
    }
    // The closing run only shows the final state: with the flag still set it would convert
    // the selected item even when it was not ticked.
    batchRunning_ = false;
    ListView1_Click();
    return true;
}

void frmMain::ConvertItem(ListItem item, const QString& folder) {
    item.setSelected(true);
    const std::filesystem::path source = PathInFolder(folder, item.FileName());
    // The backup is the picture as it was, so it is taken before the step replaces the file.
    std::optional<PendingBackup> backup;
    if (Check1->Value() == 1) {
        try {
            backup.emplace(source, BackupPathFor(source));
        } catch (const AppError& error) {
            // Converting now would lose the picture the user asked to keep: leave it as it is.
            dialogs_.ShowError(this, error, QStringLiteral("変換エラー"));
            return;
        }
    }
    ListView1_Click();
    if (!backup || item.SmallIcon() != QLatin1String("OK")) {
        return;
    }
    try {
        backup->commit();
    } catch (const AppError& error) {
        dialogs_.ShowError(this, error, QStringLiteral("変換エラー"));
    }
}

} // namespace pixtint
