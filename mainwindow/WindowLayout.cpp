// SPDX-License-Identifier: MIT
#include "mainwindow/CommandRow.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/LayoutRules.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"

#include <QEvent>
#include <QGroupBox>
#include <QWindowStateChangeEvent>

namespace pixtint {

// The window's layout: the minimum size, the controls that follow the window's edges, the
// preview area, and the preview images placed again for the new size.

namespace {

QString minimumSizeMessage(LayoutRules::SizeCorrection correction) {
    return correction == LayoutRules::SizeCorrection::Width
               ? MainWindow::tr("これ以上幅を小さくできません！")
               : MainWindow::tr("これ以上高さを小さくできません！");
}

// The window's outer size, borders and title bar included, in twips. Before the window is
// shown the frame is not known; it is then taken as none.
QSizeF outerTwips(const QWidget& window) {
    const QSize outer = window.frameGeometry().size();
    return {Twips::fromPixels(outer.width()), Twips::fromPixels(outer.height())};
}

LayoutRules::SizeCorrection neededCorrection(const QWidget& window) {
    const QSizeF outer = outerTwips(window);
    return LayoutRules::neededCorrection(outer.width(), outer.height());
}

} // namespace

void MainWindow::followWindowSize() {
    // A minimized window keeps its size and layout; it is laid out again when restored.
    if (isMinimized()) {
        return;
    }
    if (neededCorrection(*this) != LayoutRules::SizeCorrection::None) {
        requestMinimumSizeCorrection();
        return;
    }
    layOutControls();
    // A resize that arrives while a long operation waits in a message box must not start
    // the preview over inside it; the images are only placed again.
    if (filePanel_->fileList().count() == 0 || BusyCursor::isShown()) {
        placeImagesAtTheirSize();
    } else {
        previewSelectedFile();
    }
}

void MainWindow::requestMinimumSizeCorrection() {
    // The message box is not shown from inside the resize event: while the user drags, many
    // resize events arrive, and they give one message between them.
    if (sizeCorrectionPending_) {
        return;
    }
    sizeCorrectionPending_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::correctMinimumSize, Qt::QueuedConnection);
}

void MainWindow::correctMinimumSize() {
    using LayoutRules::SizeCorrection;
    // The size is looked at again: it may have changed since the request. A size that has
    // become acceptable was laid out by the resize that made it so.
    const SizeCorrection correction =
        isMinimized() ? SizeCorrection::None : neededCorrection(*this);
    if (correction != SizeCorrection::None) {
        dialogs_.showMessage(this, minimumSizeMessage(correction), QMessageBox::Warning);
    }
    // Cleared only now, so that resizes arriving while the box is open ask for no second
    // box, and before the size is set, so that the resize this causes can ask for the
    // height's correction after the width's.
    sizeCorrectionPending_ = false;
    if (isMinimized()) {
        return;
    }
    const QSize frame = frameGeometry().size() - size();
    if (correction == SizeCorrection::Width) {
        resize(qMax(1, Twips::toPixels(LayoutRules::CorrectedOuterWidth) - frame.width()),
               height());
    } else if (correction == SizeCorrection::Height) {
        resize(width(),
               qMax(1, Twips::toPixels(LayoutRules::CorrectedOuterHeight) - frame.height()));
    }
}

void MainWindow::layOutControls() {
    const std::optional<LayoutRules::Layout> layout =
        LayoutRules::layOut(Twips::fromPixels(width()), Twips::fromPixels(height()));
    if (!layout) {
        return; // a size no window reaches: the controls stay where they are
    }
    filePanel_->followLayout(*layout);
    placeInTwips(*conversionFrame_, layout->conversionFrame);
    commandRow_->followLayout(*layout);
    previewRoom_ = layout->preview;
    previewArea_->placeArrow(layout->arrow);
}

bool MainWindow::placePreviewImages(PreviewFit::Size size) {
    const bool rowInserted = growable_ && state_.resizeTo16x16 != Qt::Unchecked;
    return previewArea_->place(size, previewRoom_, rowInserted);
}

// Only boxes squeezed to nothing by an earlier fit can fail to be placed here; they keep their
// place rather than end the layout with an error no one can act on.
void MainWindow::placeImagesAtTheirSize() {
    placePreviewImages(previewArea_->currentSize());
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    // Restoring brings no resize with it, yet the window may have been resized, or left too
    // small, while minimized.
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) {
        followWindowSize();
    }
}

} // namespace pixtint
