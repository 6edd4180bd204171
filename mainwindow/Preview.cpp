// SPDX-License-Identifier: MIT
#include "conversion/Convertibility.h"
#include "engine/ByteSource.h"
#include "engine/RowInsertion.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/ColourPanel.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/PreviewTexts.h"
#include "mainwindow/RefusalReasons.h"
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
    request.everyKind = true;
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
            previewFailed(numberedMessage(MessageNumber::ObjectNotSet));
            return;
        }
        const std::filesystem::path source = filePanel_->pathOf(*row);
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
    // Stored either way up, as the conversion grows it.
    const std::int64_t rows = size.height < 0 ? -std::int64_t{size.height} : size.height;
    growable_ = isGrowableSize(size.width, static_cast<std::uint64_t>(rows));
    statusBar_->setText(Field::Dimensions, PreviewTexts::dimensionText(size.width, size.height));
}

namespace {

// Why the item is not converted: the kind the conversion refuses, or, for a kind it takes,
// that its conversion failed.
QString notConvertibleReason(const std::filesystem::path& source) {
    try {
        const std::optional<Error> refusal = refusalOf(source);
        return refusal ? refusalReason(*refusal) : conversionFailedReason();
    } catch (const Error& error) {
        return refusalReason(error);
    } catch (...) {
        return refusalReason(Error(ErrorKind::System));
    }
}

// The picture as Qt's readers show it, or nothing when they cannot: the reason beside it in
// the status bar says the rest.
QImage pictureIfShown(const std::filesystem::path& source) {
    try {
        return decodePictureFile(source);
    } catch (...) {
        return {};
    }
}

// A size the preview cannot fit: one with nothing to divide by, or one beyond 32 bits.
NumberedMessage unplaceableMessage(PreviewFit::Size shown) {
    return numberedMessage(PreviewFit::hasZeroSide(shown) ? MessageNumber::DivisionByZero
                                                          : MessageNumber::Overflow);
}

} // namespace

void MainWindow::previewNotConvertible(const std::filesystem::path& source) {
    statusBar_->setText(Field::Dimensions, notConvertibleReason(source));
    const QImage before = pictureIfShown(source);
    previewArea_->showPictures(before, QImage());
    const std::optional<PreviewFit::Size> shown =
        before.isNull() ? previewArea_->currentSize()
                        : displaySize({before.width(), before.height()});
    if (!shown || !placePreviewImages(*shown)) {
        placeImagesAtTheirSize();
    }
    filePanel_->fileList().repaint();
}

void MainWindow::previewConvertible(const std::filesystem::path& source, int row) {
    const FileByteSource file(source);
    const PictureSize size = readPictureSize(file);
    showPictureSize(size);
    if (size.width <= 0) {
        previewWithoutWidth(source, row);
        return;
    }
    const std::optional<PreviewFit::Size> shown = displaySize(size);
    if (!shown) {
        previewFailed(numberedMessage(MessageNumber::Overflow));
        return;
    }

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
    if (!placePreviewImages(*shown)) {
        previewFailed(unplaceableMessage(*shown));
        return;
    }
    offerSizeOptions(growable_);
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
    } catch (const Error& error) {
        NumberedMessage message = numberedMessage(error);
        if (error.kind() == ErrorKind::NoPaletteRoom) { // its number alone says little
            message.description += QStringLiteral("\r\n") + refusalReason(error);
        }
        showError(message, tr("変換エラー"));
    } catch (...) {
        showError(currentErrorMessage(), tr("変換エラー"));
    }
    return std::nullopt;
}

void MainWindow::previewAfterColourChange() {
    if (filePanel_->fileList().selectedRow()) {
        previewSelectedFile();
    }
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
