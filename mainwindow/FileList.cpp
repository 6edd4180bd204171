#include "conversion/Convertibility.h"
#include "engine/AppError.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"
#include "scan/StdFileSearch.h"

namespace pixtint {

namespace {

// An entry the 24-bit test cannot read (a sub-folder, a file too short, no permission) is
// simply not convertible.
bool isConvertible(const std::filesystem::path& path) {
    try {
        return isBitmap24Bit(path);
    } catch (const AppError&) {
        return false;
    }
}

} // namespace

void frmMain::Command3_Click() {
    BusyPointer busy(*this);
    const QString folder = Label1->Caption();
    ListView1->Clear();
    StdFileSearch::ListMatchingFiles(PathInFolder(folder, "*.bmp").native(), *ListView1);
    ListView1->Refresh();

    const int count = ListView1->Count();
    for (int i = 1; i <= count; ++i) {
        ListItem item = ListView1->Item(i);
        const bool convertible = isConvertible(PathInFolder(folder, item.FileName()));
        item.setChecked(convertible);
        item.setSmallIcon(convertible ? QStringLiteral("BMP") : QStringLiteral("NoChg"));
    }
    if (count > 0) {
        ListView1->Item(1).setSelected(true);
    }
    ListView1_Click();
    Label5->setCaption(QStringLiteral("ファイル総数＝") + QString::number(ListView1->Count()));
}

void frmMain::Command2_Click() {
    const std::optional<QString> chosen =
        dialogs_.BrowseForFolder(this, QStringLiteral("フォルダを選択してください"));
    if (!chosen) {
        return;
    }
    // Kept without a trailing separator: the root becomes the empty text.
    QString folder = *chosen;
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    Label1->setCaption(folder);
    Command3_Click();
}

} // namespace pixtint
