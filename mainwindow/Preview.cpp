// SPDX-License-Identifier: MIT
#include "engine/ByteSource.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/ColourPanel.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/PreviewTexts.h"
#include "mainwindow/StatusBar.h"
#include "platform/BusyCursor.h"
#include "platform/FilePaths.h"
#include "platform/PictureDecoding.h"
#include "platform/PictureView.h"

namespace pixtint {

// The preview of the selected file: its size and path in the status bar, and the picture
// before and after conversion. It runs when the user picks a file, and again whenever what it
// shows depends on changes: the list, the size options, the window's size.

namespace {
using Field = StatusBar::Field;
} // namespace

ConversionRequest MainWindow::currentRequest() const {
    ConversionRequest request;
    request.pairs = {
        {colourPanel_->shownColour(Side::Before), colourPanel_->shownColour(Side::After)}};
    if (state_.resizeTo16x16 == Qt::Checked) {
        request.growth = state_.insertAtTop ? Growth::Top : Growth::Bottom;
    }
    request.keepBackup = state_.keepBackup == Qt::Checked;
    return request;
}

void MainWindow::previewSelectedFile() {
    BusyCursor busy;
    FileListWidget& list = filePanel_->fileList();
    if (list.count() == 0) {
        statusBar_->setText(Field::FileSize, QString());
        statusBar_->setText(Field::Path, QString());
        previewArea_->clearPictures();
        return;
    }
    try {
        const std::optional<int> row = list.selectedRow();
        if (!row) {
            throw WindowError(MessageNumber::ObjectNotSet);
        }
        const std::filesystem::path source = pathInFolder(state_.folder, list.fileName(*row));
        showFileInStatusBar(source);
        if (isConvertibleMark(list.mark(*row))) {
            previewConvertible(source, *row);
        } else {
            previewNotConvertible(source);
        }
    } catch (...) {
        previewFailed(currentErrorMessage());
    }
}

void MainWindow::showFileInStatusBar(const std::filesystem::path& source) {
    statusBar_->setText(Field::FileSize, PreviewTexts::sizeText(fileSize(source)));
    statusBar_->setText(Field::Path, displayPath(source));
}

void MainWindow::showPictureSize(PictureSize size) {
    sixteenByFifteen_ = size.width == 16 && size.height == 15;
    statusBar_->setText(Field::Dimensions, PreviewTexts::dimensionText(size.width, size.height));
}

void MainWindow::previewNotConvertible(const std::filesystem::path& source) {
    // Loading the picture is what tells a damaged file from one that is merely not 24-bit.
    previewArea_->image(Side::Before).setPicture(decodePictureFile(source));
    previewArea_->image(Side::After).clearPicture();
    placeImagesAtTheirSize();
    filePanel_->fileList().repaint();
    previewArea_->clearPictures();
    statusBar_->setText(Field::Dimensions, PreviewTexts::NotConvertible);
}

void MainWindow::previewConvertible(const std::filesystem::path& source, int row) {
    const FileByteSource file(source);
    const PictureSize size = readPictureSize(file);
    showPictureSize(size);
    if (size.width <= 0) {
        previewWithoutWidth(source, row);
        return;
    }
    const PreviewFit::Size shown = displaySize(size);

    PictureView& before = previewArea_->image(Side::Before);
    PictureView& after = previewArea_->image(Side::After);
    before.setPicture(decodePicture(file));
    before.repaint(); // on screen while the conversion works
    if (const auto converted = convertForPreview(source)) {
        after.setPicture(decodePicture(*converted));
    } else {
        after.clearPicture();
        filePanel_->fileList().setMark(row, ItemMark::Failed);
    }
    placePreviewImages(shown);
    offerSizeOptions(sixteenByFifteen_);
}

// A picture without a width has nothing to convert: its conversion says so, as a batch's
// would, and the file is marked as failed.
void MainWindow::previewWithoutWidth(const std::filesystem::path& source, int row) {
    previewArea_->clearPictures();
    convertForPreview(source);
    filePanel_->fileList().setMark(row, ItemMark::Failed);
    placeImagesAtTheirSize();
}

// The converted picture is made in memory and written nowhere, so looking works in a folder
// that cannot be written. A conversion that cannot even start is reported as such.
std::optional<ConvertedPicture> MainWindow::convertForPreview(const std::filesystem::path& source) {
    try {
        return std::optional<ConvertedPicture>(std::in_place, source, currentRequest());
    } catch (...) {
        showError(currentErrorMessage(), tr("変換エラー"));
    }
    return std::nullopt;
}

void MainWindow::previewFailed(const NumberedMessage& message) {
    showError(message, tr("BMPエラー"));
    previewArea_->clearPictures();
    placeImagesAtTheirSize();
    statusBar_->setText(Field::Dimensions, QString());
    statusBar_->setText(Field::FileSize, QString());
    filePanel_->fileList().repaint();
}

void MainWindow::offerSizeOptions(bool offered) {
    sizeOptionsOffered_ = offered;
    rowOptionsOffered_ = offered;
    applyEnabledState();
}

} // namespace pixtint
