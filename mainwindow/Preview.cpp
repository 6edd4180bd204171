#include "engine/AppError.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"
#include "mainwindow/ColourPanel.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/PreviewTexts.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"
#include "platform/ImageBox.h"
#include "platform/StatusBar.h"

namespace pixtint {

// The preview of the selected file: its size and path in the status bar, and the picture
// before and after conversion. It runs when the user picks a file, and again whenever what it
// shows depends on changes: the list, the size options, the window's size.

ConversionRequest MainWindow::currentRequest() const {
    ConversionRequest request;
    request.pairs = {{colourPanel_->shownColour(ColourPanel::BeforeSwatch),
                      colourPanel_->shownColour(ColourPanel::AfterSwatch)}};
    if (state_.resizeTo16x16 == 1) {
        request.growth = state_.insertAtTop ? Growth::Top : Growth::Bottom;
    }
    request.keepBackup = state_.keepBackup == 1;
    return request;
}

void MainWindow::previewSelectedFile() {
    BusyPointer busy(*this);
    if (filePanel_->fileCount() == 0) {
        statusBar_->setPanelText(2, QString());
        statusBar_->setPanelText(3, QString());
        previewArea_->clearPictures();
        return;
    }
    try {
        const std::optional<ListItem> item = filePanel_->selectedItem();
        if (!item) {
            throw AppError(ErrorNumber::ObjectNotSet);
        }
        const std::filesystem::path source = PathInFolder(state_.folder, item->FileName());
        showFileInStatusBar(source);
        if (isConvertibleMark(FilePanel::markOf(*item))) {
            previewConvertible(source, *item);
        } else {
            previewNotConvertible(source);
        }
    } catch (const AppError& error) {
        previewFailed(error);
    } catch (const Error& error) {
        previewFailed(AppError::fromError(error));
    } catch (const std::bad_alloc&) {
        previewFailed(AppError(ErrorNumber::OutOfMemory));
    }
}

void MainWindow::showFileInStatusBar(const std::filesystem::path& source) {
    statusBar_->setPanelText(2, PreviewTexts::sizeText(FileLen(source)));
    statusBar_->setPanelText(3, DisplayPath(source));
}

void MainWindow::showPictureSize(PictureSize size) {
    sixteenByFifteen_ = size.width == 16 && size.height == 15;
    statusBar_->setPanelText(1, PreviewTexts::dimensionText(size.width, size.height));
}

void MainWindow::previewNotConvertible(const std::filesystem::path& source) {
    // Loading the picture is what tells a damaged file from one that is merely not 24-bit.
    ImageBox& before = previewArea_->image(PreviewArea::BeforeImage);
    before.LoadPicture(source);
    previewArea_->image(PreviewArea::AfterImage).clearPicture();
    placeImagesAtTheirSize();
    filePanel_->fileList().Refresh();
    previewArea_->clearPictures();
    statusBar_->setPanelText(1, PreviewTexts::NotConvertible);
}

void MainWindow::previewConvertible(const std::filesystem::path& source, ListItem item) {
    const PictureSize size = readPictureSize(FileByteSource(source));
    showPictureSize(size);
    const PreviewFit::Size shown = displaySize(size);

    ImageBox& before = previewArea_->image(PreviewArea::BeforeImage);
    ImageBox& after = previewArea_->image(PreviewArea::AfterImage);
    before.LoadPicture(source);
    before.Refresh(); // on screen while the conversion works
    if (const auto converted = convertForPreview(source)) {
        after.LoadPicture(*converted);
    } else {
        after.clearPicture();
        FilePanel::setMark(item, ItemMark::Failed);
    }
    placePreviewImages(shown);
    offerSizeOptions(sixteenByFifteen_);
}

// The converted picture is made in memory and written nowhere, so looking works in a folder
// that cannot be written. A conversion that cannot even start is reported as such.
std::optional<ConvertedPicture> MainWindow::convertForPreview(const std::filesystem::path& source) {
    try {
        return std::optional<ConvertedPicture>(std::in_place, source, currentRequest());
    } catch (const AppError& error) {
        dialogs_.ShowError(this, error, QStringLiteral("変換エラー"));
    } catch (const Error& error) {
        dialogs_.ShowError(this, AppError::fromError(error), QStringLiteral("変換エラー"));
    } catch (const std::bad_alloc&) {
        dialogs_.ShowError(this, AppError(ErrorNumber::OutOfMemory), QStringLiteral("変換エラー"));
    }
    return std::nullopt;
}

void MainWindow::previewFailed(const AppError& error) {
    dialogs_.ShowError(this, error, QStringLiteral("BMPエラー"));
    previewArea_->clearPictures();
    placeImagesAtTheirSize();
    statusBar_->setPanelText(1, QString());
    statusBar_->setPanelText(2, QString());
    filePanel_->fileList().Refresh();
}

void MainWindow::offerSizeOptions(bool offered) {
    sizeOptionsOffered_ = offered;
    rowOptionsOffered_ = offered;
    applyEnabledState();
}

} // namespace pixtint
