// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewPresenter.h"

#include "desktop/FilePaths.h"
#include "dialogs/Dialogs.h"
#include "engine/RowInsertion.h"
#include "mainwindow/BatchFrame.h"
#include "mainwindow/ColourPanel.h"
#include "mainwindow/DisplaySize.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/PreviewTexts.h"
#include "mainwindow/StatusBar.h"
#include "widgets/PictureView.h"

#include <QScopedValueRollback>
#include <QScreen>
#include <climits>

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
    , panels_(panels) {
    connect(&panels_.files, &FilePanel::marksArrived, this, &PreviewPresenter::markArrived);
    connect(&worker_, &PreviewWorker::prepared, this, &PreviewPresenter::showPrepared);
    connect(&panels_.files, &FilePanel::listingEnded, this, [this] { markArrived(INT_MAX); });
}

void PreviewPresenter::markArrived(int end) {
    const std::optional<int> row = panels_.files.fileList().selectedRow();
    // A listing that ended previews whatever it left selected, or its empty list.
    if (waitingForMark_ && ((row && *row < end) || end == INT_MAX)) {
        previewSelectedFile();
    }
}

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

// The file's pictures are prepared on the worker; whatever the window showed stays until they
// arrive. Each call makes every preview asked for before it stale.
void PreviewPresenter::previewSelectedFile() {
    ++generation_;
    FileListWidget& list = panels_.files.fileList();
    const std::optional<int> selected = list.selectedRow();
    waitingForMark_ = panels_.files.listing() && (!selected || !panels_.files.markKnown(*selected));
    if (waitingForMark_ && list.count() > 0) {
        return;
    }
    if (list.count() == 0) {
        shownGeneration_ = generation_;
        panels_.statusBar.setText(Field::FileSize, QString());
        panels_.statusBar.setText(Field::Path, QString());
        panels_.images.clearPictures();
        return;
    }
    if (!selected) {
        shownGeneration_ = generation_;
        const QScopedValueRollback inPreview(previewing_, true);
        previewFailed(numberedMessage(MessageNumber::ObjectNotSet));
        return;
    }
    worker_.prepare({generation_, *selected, panels_.files.pathOf(*selected),
                     isConvertibleMark(list.mark(*selected)), currentRequest(), largestShown()});
}

// No preview is shown larger than the screen the window is on.
QSize PreviewPresenter::largestShown() const {
    const QScreen* screen = window_.screen();
    return screen == nullptr ? QSize() : screen->size() * screen->devicePixelRatio();
}

// Only the newest preview is shown; an older one that arrives late is dropped.
void PreviewPresenter::showPrepared(const PreparedPreview& preview) {
    if (preview.job.generation != generation_) {
        return;
    }
    shownGeneration_ = generation_;
    {
        const QScopedValueRollback inPreview(previewing_, true);
        showPreparedSteps(preview);
    }
    emit previewShown();
}

void PreviewPresenter::showPreparedSteps(const PreparedPreview& preview) {
    if (!preview.fileBytes) {
        previewFailed(*preview.failure);
        return;
    }
    panels_.statusBar.setText(Field::FileSize, PreviewTexts::sizeText(*preview.fileBytes));
    panels_.statusBar.setText(Field::Path, displayPath(preview.job.source));
    if (!preview.job.convertible) {
        previewNotConvertible(preview);
    } else if (!preview.size) {
        previewFailed(*preview.failure);
    } else {
        showPictureSize(*preview.size);
        if (preview.size->width <= 0) {
            previewWithoutWidth(preview);
        } else {
            previewConvertible(preview);
        }
    }
}

void PreviewPresenter::showPictureSize(PictureSize size) {
    // Stored either way up, as the conversion grows it.
    const std::int64_t rows = size.height < 0 ? -std::int64_t{size.height} : size.height;
    growable_ = isGrowableSize(size.width, static_cast<std::uint64_t>(rows));
    panels_.statusBar.setText(Field::Dimensions,
                              PreviewTexts::dimensionText(size.width, size.height));
}

namespace {

// A size the preview cannot fit: one with nothing to divide by, or one beyond 32 bits.
NumberedMessage unplaceableMessage(PreviewFit::Size shown) {
    return numberedMessage(PreviewFit::hasZeroSide(shown) ? MessageNumber::DivisionByZero
                                                          : MessageNumber::Overflow);
}

} // namespace

// Neither image shows a picture the conversion leaves alone; the status bar says why.
void PreviewPresenter::previewNotConvertible(const PreparedPreview& preview) {
    panels_.statusBar.setText(Field::Dimensions, preview.reason);
    panels_.images.clearPictures();
    placeImagesAtTheirSize();
}

void PreviewPresenter::previewConvertible(const PreparedPreview& preview) {
    const std::optional<PreviewFit::Size> shown = displaySize(*preview.size);
    if (!shown) {
        previewFailed(numberedMessage(MessageNumber::Overflow));
        return;
    }
    if (preview.failure) {
        previewFailed(*preview.failure);
        return;
    }
    PictureView& before = panels_.images.image(Side::Before);
    PictureView& after = panels_.images.image(Side::After);
    before.setPicture(preview.before);
    if (preview.conversionError) {
        showConversionError(preview);
        after.clearPicture();
    } else {
        after.setPicture(preview.after);
    }
    if (!placeImages(*shown)) {
        previewFailed(unplaceableMessage(*shown));
        return;
    }
    emit sizeOptionsOffered(growable_);
}

// A picture without a width has nothing to convert: its conversion said so, as a batch's
// would, and the file is marked as failed.
void PreviewPresenter::previewWithoutWidth(const PreparedPreview& preview) {
    panels_.images.clearPictures();
    if (preview.conversionError) {
        showConversionError(preview);
    }
    panels_.files.fileList().setMark(preview.job.row, ItemMark::Failed);
    placeImagesAtTheirSize();
}

void PreviewPresenter::showConversionError(const PreparedPreview& preview) {
    showError(*preview.conversionError, tr("変換エラー"));
    panels_.files.fileList().setMark(preview.job.row, ItemMark::Failed);
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
    // A resize that arrives while a preview waits in its message box must not start the
    // preview over inside it, nor one while a batch or a restore shows its own files; the
    // images are only placed again.
    if (panels_.files.fileList().count() == 0 || previewing_ || held_) {
        placeImagesAtTheirSize();
    } else {
        previewSelectedFile();
    }
}

// Both pictures and the status bar show one file, read by the batch.
void PreviewPresenter::showBatchFrame(const BatchFrame& frame, const std::filesystem::path& file) {
    ++generation_; // a preview asked for earlier is stale
    shownGeneration_ = generation_;
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
