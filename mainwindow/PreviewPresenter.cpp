// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewPresenter.h"

#include "conversion/Convertibility.h"
#include "decoding/PictureDecoding.h"
#include "desktop/FilePaths.h"
#include "dialogs/Dialogs.h"
#include "engine/ByteSource.h"
#include "engine/RowInsertion.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/BatchFrame.h"
#include "mainwindow/ColourPanel.h"
#include "mainwindow/DisplaySize.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/PreviewShowability.h"
#include "mainwindow/PreviewTexts.h"
#include "mainwindow/RefusalReasons.h"
#include "mainwindow/StatusBar.h"
#include "widgets/BusyCursor.h"
#include "widgets/PictureView.h"

namespace pixtint {

namespace {
using Field = StatusBar::Field;
} // namespace

PreviewPresenter::PreviewPresenter(QWidget& window, Dialogs& dialogs, const SessionState& state,
                                   Panels panels)
    : QObject(&window)
    , window_(window)
    , dialogs_(dialogs)
    , state_(state)
    , panels_(panels) {}

ConversionRequest PreviewPresenter::currentRequest() const {
    ConversionRequest request;
    request.pairs = {
        {panels_.colours.shownColour(Side::Before), panels_.colours.shownColour(Side::After)}};
    if (state_.resizeTo16x16 == Qt::Checked) {
        request.growth = state_.insertAtTop ? Growth::Top : Growth::Bottom;
    }
    request.keepBackup = state_.keepBackup == Qt::Checked;
    request.everyKind = true;
    return request;
}

void PreviewPresenter::previewSelectedFile() {
    BusyCursor busy;
    FileListWidget& list = panels_.files.fileList();
    if (list.count() == 0) {
        panels_.statusBar.setText(Field::FileSize, QString());
        panels_.statusBar.setText(Field::Path, QString());
        panels_.images.clearPictures();
        return;
    }
    try {
        const std::optional<int> row = list.selectedRow();
        if (!row) {
            previewFailed(numberedMessage(MessageNumber::ObjectNotSet));
            return;
        }
        const std::filesystem::path source = panels_.files.pathOf(*row);
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

void PreviewPresenter::showFileInStatusBar(const std::filesystem::path& source) {
    panels_.statusBar.setText(Field::FileSize, PreviewTexts::sizeText(fileSize(source)));
    panels_.statusBar.setText(Field::Path, displayPath(source));
}

void PreviewPresenter::showPictureSize(PictureSize size) {
    // Stored either way up, as the conversion grows it.
    const std::int64_t rows = size.height < 0 ? -std::int64_t{size.height} : size.height;
    growable_ = isGrowableSize(size.width, static_cast<std::uint64_t>(rows));
    panels_.statusBar.setText(Field::Dimensions,
                              PreviewTexts::dimensionText(size.width, size.height));
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

// A size the preview cannot fit: one with nothing to divide by, or one beyond 32 bits.
NumberedMessage unplaceableMessage(PreviewFit::Size shown) {
    return numberedMessage(PreviewFit::hasZeroSide(shown) ? MessageNumber::DivisionByZero
                                                          : MessageNumber::Overflow);
}

} // namespace

// Neither image shows a picture the conversion leaves alone; the status bar says why.
void PreviewPresenter::previewNotConvertible(const std::filesystem::path& source) {
    panels_.statusBar.setText(Field::Dimensions, notConvertibleReason(source));
    panels_.images.clearPictures();
    placeImagesAtTheirSize();
    panels_.files.fileList().repaint();
}

void PreviewPresenter::previewConvertible(const std::filesystem::path& source, int row) {
    const FileByteSource file(source);
    const PictureSize size = readPictureSize(file);
    showPictureSize(size);
    if (size.width <= 0) {
        previewWithoutWidth(source, row);
        return;
    }
    if (const std::optional<NumberedMessage> problem = whyPreviewCannotShow(file)) {
        previewFailed(*problem);
        return;
    }
    const std::optional<PreviewFit::Size> shown = displaySize(size);

    PictureView& before = panels_.images.image(Side::Before);
    PictureView& after = panels_.images.image(Side::After);
    before.setPicture(decodePicture(file));
    before.repaint(); // on screen while the conversion works
    if (const auto converted = convertForPreview(source)) {
        after.setPicture(decodePicture(*converted));
    } else {
        after.clearPicture();
        panels_.files.fileList().setMark(row, ItemMark::Failed);
    }
    if (!placeImages(*shown)) {
        previewFailed(unplaceableMessage(*shown));
        return;
    }
    emit sizeOptionsOffered(growable_);
}

// A picture without a width has nothing to convert: its conversion says so, as a batch's
// would, and the file is marked as failed.
void PreviewPresenter::previewWithoutWidth(const std::filesystem::path& source, int row) {
    panels_.images.clearPictures();
    convertForPreview(source);
    panels_.files.fileList().setMark(row, ItemMark::Failed);
    placeImagesAtTheirSize();
}

// The converted picture is made in memory and written nowhere, so looking works in a folder
// that cannot be written. A conversion that cannot even start is reported as such.
std::optional<ConvertedPicture>
PreviewPresenter::convertForPreview(const std::filesystem::path& source) {
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

void PreviewPresenter::previewAfterColourChange() {
    if (panels_.files.fileList().selectedRow()) {
        previewSelectedFile();
    }
}

void PreviewPresenter::previewFailed(const NumberedMessage& message) {
    showError(message, tr("BMPエラー"));
    panels_.images.clearPictures();
    placeImagesAtTheirSize();
    panels_.statusBar.setText(Field::Dimensions, QString());
    panels_.statusBar.setText(Field::FileSize, QString());
    panels_.files.fileList().repaint();
}

bool PreviewPresenter::placeImages(PreviewFit::Size size) {
    const bool rowInserted = growable_ && state_.resizeTo16x16 != Qt::Unchecked;
    return panels_.images.place(size, room_, rowInserted);
}

// Only boxes squeezed to nothing by an earlier fit can fail to be placed here; they keep their
// place rather than end the layout with an error no one can act on.
void PreviewPresenter::placeImagesAtTheirSize() {
    placeImages(panels_.images.currentSize());
}

void PreviewPresenter::followLayout(const PreviewFit::PreviewRoom& room) {
    room_ = room;
    // A resize that arrives while a long operation waits in a message box must not start
    // the preview over inside it; the images are only placed again.
    if (panels_.files.fileList().count() == 0 || BusyCursor::isShown()) {
        placeImagesAtTheirSize();
    } else {
        previewSelectedFile();
    }
}

// Both pictures and the status bar show one file, read by the batch.
void PreviewPresenter::showBatchFrame(const BatchFrame& frame, const std::filesystem::path& file) {
    panels_.statusBar.setText(Field::FileSize, PreviewTexts::sizeText(frame.fileBytes));
    panels_.statusBar.setText(Field::Path, displayPath(file));
    showPictureSize(frame.size);
    panels_.images.showPictures(frame.before, frame.after);
    // A size the preview cannot place keeps the images where they are.
    if (const auto shown = displaySize(frame.size)) {
        placeImages(*shown);
    }
}

void PreviewPresenter::showBatchFailure(const std::filesystem::path& file) {
    panels_.statusBar.setText(Field::Dimensions, QString());
    panels_.statusBar.setText(Field::FileSize, QString());
    panels_.statusBar.setText(Field::Path, displayPath(file));
    panels_.images.clearPictures();
}

void PreviewPresenter::showError(const NumberedMessage& message, const QString& title) {
    dialogs_.showMessage(&window_, message.text(), QMessageBox::Critical, title);
}

} // namespace pixtint
