#include "conversion/ConvertedPicture.h"
#include "engine/AppError.h"
#include "mainwindow/PreviewTexts.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"

namespace pixtint {

namespace {

bool isNotConvertible(const QString& iconKey) {
    return iconKey == QLatin1String("NoChg") || iconKey == QLatin1String("NG");
}

} // namespace

void frmMain::ListView1_Click() {
    BusyPointer busy(*this);
    if (ListView1->Count() == 0) {
        StatusBar1->setPanelText(2, QString());
        StatusBar1->setPanelText(3, QString());
        Image1[0]->clearPicture();
        Image1[1]->clearPicture();
        return;
    }
    try {
        const std::optional<ListItem> item = ListView1->SelectedItem();
        if (!item) {
            throw AppError(ErrorNumber::ObjectNotSet);
        }
        const std::filesystem::path source = PathInFolder(Label1->Caption(), item->FileName());
        ShowFileInStatusBar(source);
        if (isNotConvertible(item->SmallIcon())) {
            PreviewNotConvertible(source);
        } else {
            PreviewConvertible(source, *item);
        }
    } catch (const AppError& error) {
        PreviewFailed(error);
    } catch (const std::bad_alloc&) {
        PreviewFailed(AppError(ErrorNumber::OutOfMemory));
    }
}

void frmMain::ShowFileInStatusBar(const std::filesystem::path& source) {
    StatusBar1->setPanelText(2, PreviewTexts::sizeText(FileLen(source)));
    StatusBar1->setPanelText(3, DisplayPath(source));
}

void frmMain::PreviewNotConvertible(const std::filesystem::path& source) {
    // Loading the picture is what tells a damaged file from one that is merely not 24-bit.
    Image1[0]->LoadPicture(source);
    Image1[1]->clearPicture();
    PlaceImagesAtTheirSize();
    ListView1->Refresh();
    Image1[0]->clearPicture();
    Image1[1]->clearPicture();
    StatusBar1->setPanelText(1, PreviewTexts::NotConvertible);
}

void frmMain::PreviewConvertible(const std::filesystem::path& source, ListItem item) {
    const PictureSize size = readPictureSize(source);
    ShowPictureSize(size);
    const std::int32_t displayWidth = displayTwips(size.width);
    const std::int32_t displayHeight = displayTwips(size.height);

    Image1[0]->LoadPicture(source);
    Image1[0]->Refresh();
    if (const auto converted = ConvertForPreview(source)) {
        Image1[1]->LoadPicture(*converted);
    } else {
        Image1[1]->clearPicture();
        item.setSmallIcon(QStringLiteral("NG"));
    }
    PlacePreviewImages(displayWidth, displayHeight);
    EnableSizeOptions(sixteenByFifteen_);
}

void frmMain::ShowPictureSize(PictureSize size) {
    sixteenByFifteen_ = size.width == 16 && size.height == 15;
    StatusBar1->setPanelText(1, PreviewTexts::dimensionText(size.width, size.height));
}

// The converted picture is made in memory and written nowhere, so looking works in a folder
// that cannot be written. A conversion that cannot even start is reported as such.
std::optional<ConvertedPicture> frmMain::ConvertForPreview(const std::filesystem::path& source) {
    try {
        return std::optional<ConvertedPicture>(std::in_place, source, CurrentRequest());
    } catch (const AppError& error) {
        dialogs_.ShowError(this, error, QStringLiteral("変換エラー"));
    } catch (const std::bad_alloc&) {
        dialogs_.ShowError(this, AppError(ErrorNumber::OutOfMemory), QStringLiteral("変換エラー"));
    }
    return std::nullopt;
}

void frmMain::PreviewFailed(const AppError& error) {
    dialogs_.ShowError(this, error, QStringLiteral("BMPエラー"));
    Image1[0]->clearPicture();
    Image1[1]->clearPicture();
    PlaceImagesAtTheirSize();
    StatusBar1->setPanelText(1, QString());
    StatusBar1->setPanelText(2, QString());
    ListView1->Refresh();
}

} // namespace pixtint
