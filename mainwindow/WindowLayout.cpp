#include "engine/AppError.h"
#include "mainwindow/CommandRow.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/LayoutRules.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "platform/Dialogs.h"
#include "platform/Frame.h"
#include "platform/StatusBar.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

namespace pixtint {

// The window's layout: the minimum size, the controls that follow the window's edges, the
// preview area, and the preview images placed again for the new size.

namespace {

QString minimumSizeMessage(LayoutRules::SizeCorrection correction) {
    return correction == LayoutRules::SizeCorrection::Width
               ? QStringLiteral("これ以上幅を小さくできません！")
               : QStringLiteral("これ以上高さを小さくできません！");
}

} // namespace

void MainWindow::followWindowSize() {
    // A minimized window keeps its size and layout; it is laid out again when restored.
    if (isMinimized()) {
        return;
    }
    if (LayoutRules::neededCorrection(Width(), Height()) != LayoutRules::SizeCorrection::None) {
        requestMinimumSizeCorrection();
        return;
    }
    layOutControls();
    // A resize that arrives while a long operation waits in a message box must not start
    // the preview over inside it; the images are only placed again.
    const bool longOperationRunning = MousePointer() == BusyPointerValue;
    if (filePanel_->fileCount() == 0 || longOperationRunning) {
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
        isMinimized() ? SizeCorrection::None : LayoutRules::neededCorrection(Width(), Height());
    if (correction != SizeCorrection::None) {
        dialogs_.MsgBox(this, minimumSizeMessage(correction), Dialogs::Icon::Exclamation);
    }
    // Cleared only now, so that resizes arriving while the box is open ask for no second
    // box, and before the size is set, so that the resize this causes can ask for the
    // height's correction after the width's.
    sizeCorrectionPending_ = false;
    if (isMinimized()) {
        return;
    }
    if (correction == SizeCorrection::Width) {
        setWidth(LayoutRules::CorrectedOuterWidth);
    } else if (correction == SizeCorrection::Height) {
        setHeight(LayoutRules::CorrectedOuterHeight);
    }
}

void MainWindow::layOutControls() {
    LayoutRules::LayoutInput input;
    input.scaleWidth = ScaleWidth();
    input.scaleHeight = ScaleHeight();
    input.statusBarHeight = statusBar_->Height();
    input.frame1Left = filePanel_->Left();
    input.frame1Top = filePanel_->Top();
    input.frame1Height = filePanel_->Height();
    input.frame2Width = conversionFrame_->Width();
    input.command2Width = filePanel_->browseButtonWidth();
    input.command1Width = commandRow_->exitButtonWidth();
    input.command1Height = commandRow_->exitButtonHeight();
    input.command4Width = commandRow_->convertButtonWidth();
    input.command7Width = commandRow_->readmeButtonWidth();
    input.image3Width = previewArea_->arrowWidth();
    input.image3Height = previewArea_->arrowHeight();

    const LayoutRules::Layout layout = LayoutRules::layOut(input);
    filePanel_->followWidth(layout);
    conversionFrame_->setLeft(layout.frame2Left);
    commandRow_->followEdges(layout);
    previewRoom_ = layout.preview;
    previewArea_->moveArrow(layout.image3Left, layout.image3Top);
}

void MainWindow::placePreviewImages(PreviewFit::Size size) {
    const bool rowInserted = sixteenByFifteen_ && state_.resizeTo16x16 != 0;
    previewArea_->place(size, previewRoom_, rowInserted);
}

void MainWindow::placeImagesAtTheirSize() {
    try {
        placePreviewImages(previewArea_->currentSize());
    } catch (const AppError&) {
        // Only boxes squeezed to nothing by an earlier fit can fail here; they keep their
        // place rather than end the layout with an error no one can act on.
    }
}

void MainWindow::changeEvent(QEvent* event) {
    Form::changeEvent(event);
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
