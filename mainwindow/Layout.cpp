#include "engine/AppError.h"
#include "mainwindow/LayoutRules.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

namespace pixtint {

// Window layout: the minimum size, the controls that follow the window's edges, the preview
// area, and the preview images placed again for the new size.

namespace {

LayoutRules::LayoutInput layoutInput(const frmMain& window) {
    LayoutRules::LayoutInput input;
    input.scaleWidth = window.ScaleWidth();
    input.scaleHeight = window.ScaleHeight();
    input.statusBarHeight = window.StatusBar1->Height();
    input.frame1Left = window.Frame1->Left();
    input.frame1Top = window.Frame1->Top();
    input.frame1Height = window.Frame1->Height();
    input.frame2Width = window.Frame2->Width();
    input.command2Width = window.Command2->Width();
    input.command1Width = window.Command1->Width();
    input.command1Height = window.Command1->Height();
    input.command4Width = window.Command4->Width();
    input.command7Width = window.Command7->Width();
    input.image3Width = window.Image3->Width();
    input.image3Height = window.Image3->Height();
    return input;
}

QString minimumSizeMessage(LayoutRules::SizeCorrection correction) {
    return correction == LayoutRules::SizeCorrection::Width
               ? QStringLiteral("これ以上幅を小さくできません！")
               : QStringLiteral("これ以上高さを小さくできません！");
}

} // namespace

void frmMain::Form_Resize() {
    // A minimized window keeps its size and layout; it is laid out again when restored.
    if (isMinimized()) {
        return;
    }
    if (LayoutRules::neededCorrection(Width(), Height()) != LayoutRules::SizeCorrection::None) {
        RequestMinimumSizeCorrection();
        return;
    }
    LayOutControls();
    // A resize that arrives while a long operation waits in a message box must not start
    // the preview (or a batch step) over inside it; the images are only placed again.
    const bool longOperationRunning = MousePointer() == BusyPointerValue;
    if (ListView1->Count() == 0 || longOperationRunning) {
        PlaceImagesAtTheirSize();
    } else {
        ListView1_Click();
    }
}

void frmMain::RequestMinimumSizeCorrection() {
    // The message box is not shown from inside the resize event: while the user drags, many
    // resize events arrive, and they give one message between them.
    if (sizeCorrectionPending_) {
        return;
    }
    sizeCorrectionPending_ = true;
    QMetaObject::invokeMethod(this, &frmMain::CorrectMinimumSize, Qt::QueuedConnection);
}

void frmMain::CorrectMinimumSize() {
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

void frmMain::LayOutControls() {
    const LayoutRules::Layout layout = LayoutRules::layOut(layoutInput(*this));
    Frame1->setWidth(layout.frame1Width);
    Label1->setWidth(layout.label1Width);
    Command2->setLeft(layout.command2Left);
    ListView1->setWidth(layout.label1Width);
    Command3->setLeft(layout.command2Left);
    Frame2->setLeft(layout.frame2Left);
    Command1->Move(layout.command1Left, layout.command1Top, Command1->Width(), Command1->Height());
    Command4->Move(layout.command4Left, layout.command1Top, Command4->Width(), Command4->Height());
    Command7->Move(layout.command7Left, layout.command1Top, Command7->Width(), Command7->Height());
    Check1->setTop(layout.check1Top);
    previewWidthLimit_ = layout.preview.widthLimit;
    previewHeightLimit_ = layout.preview.heightLimit;
    previewCentreX_ = layout.preview.centreX;
    previewCentreY_ = layout.preview.centreY;
    Image3->Move(layout.image3Left, layout.image3Top, Image3->Width(), Image3->Height());
}

void frmMain::PlaceImagesAtTheirSize() {
    try {
        PlacePreviewImages(PreviewFit::nearest(Image1[0]->Width()),
                           PreviewFit::nearest(Image1[0]->Height()));
    } catch (const AppError&) {
        // Only boxes squeezed to nothing by an earlier fit can fail here; they keep their
        // place rather than end the layout with an error no one can act on.
    }
}

void frmMain::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    // Restoring brings no resize with it, yet the window may have been resized, or left too
    // small, while minimized.
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) {
        Form_Resize();
    }
}

} // namespace pixtint
