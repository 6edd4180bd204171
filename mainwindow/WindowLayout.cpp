// SPDX-License-Identifier: MIT
#include "mainwindow/WindowLayout.h"

#include "dialogs/Dialogs.h"
#include "mainwindow/CommandRow.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/LayoutRules.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/StatusBar.h"
#include "widgets/ControlPlacement.h"

#include <QWidget>

namespace pixtint {

namespace {

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

WindowLayout::WindowLayout(QWidget& window, Dialogs& dialogs, Panels panels)
    : QObject(&window)
    , window_(window)
    , dialogs_(dialogs)
    , panels_(panels) {}

void WindowLayout::windowResized() {
    placeInTwips(panels_.statusBar,
                 LayoutRules::statusBarPlace(Twips::fromPixels(window_.width()),
                                             Twips::fromPixels(window_.height())));
    followWindowSize();
}

void WindowLayout::windowRestored() {
    followWindowSize();
}

void WindowLayout::followWindowSize() {
    // A minimized window keeps its size and layout; it is laid out again when restored.
    if (window_.isMinimized()) {
        return;
    }
    if (neededCorrection(window_) != LayoutRules::SizeCorrection::None) {
        requestMinimumSizeCorrection();
        return;
    }
    if (const std::optional<PreviewFit::PreviewRoom> room = layOutControls()) {
        emit laidOut(*room);
    }
}

void WindowLayout::requestMinimumSizeCorrection() {
    // The message box is not shown from inside the resize event: while the user drags, many
    // resize events arrive, and they give one message between them.
    if (sizeCorrectionPending_) {
        return;
    }
    sizeCorrectionPending_ = true;
    QMetaObject::invokeMethod(this, &WindowLayout::correctMinimumSize, Qt::QueuedConnection);
}

void WindowLayout::correctMinimumSize() {
    using LayoutRules::SizeCorrection;
    // The size is looked at again: it may have changed since the request. A size that has
    // become acceptable was laid out by the resize that made it so.
    const SizeCorrection correction =
        window_.isMinimized() ? SizeCorrection::None : neededCorrection(window_);
    if (correction != SizeCorrection::None) {
        dialogs_.showMessage(&window_,
                             correction == SizeCorrection::Width
                                 ? tr("これ以上幅を小さくできません！")
                                 : tr("これ以上高さを小さくできません！"),
                             QMessageBox::Warning);
    }
    // Cleared only now, so that resizes arriving while the box is open ask for no second
    // box, and before the size is set, so that the resize this causes can ask for the
    // height's correction after the width's.
    sizeCorrectionPending_ = false;
    if (window_.isMinimized()) {
        return;
    }
    const QSize frame = window_.frameGeometry().size() - window_.size();
    if (correction == SizeCorrection::Width) {
        window_.resize(qMax(1, Twips::toPixels(LayoutRules::CorrectedOuterWidth) - frame.width()),
                       window_.height());
    } else if (correction == SizeCorrection::Height) {
        window_.resize(window_.width(), qMax(1, Twips::toPixels(LayoutRules::CorrectedOuterHeight) -
                                                    frame.height()));
    }
}

// A size no window reaches leaves the controls where they are.
std::optional<PreviewFit::PreviewRoom> WindowLayout::layOutControls() {
    const std::optional<LayoutRules::Layout> layout = LayoutRules::layOut(
        Twips::fromPixels(window_.width()), Twips::fromPixels(window_.height()));
    if (!layout) {
        return std::nullopt;
    }
    panels_.files.followLayout(*layout);
    placeInTwips(panels_.conversionFrame, layout->conversionFrame);
    panels_.commands.followLayout(*layout);
    panels_.preview.placeArrow(layout->arrow);
    return layout->preview;
}

} // namespace pixtint
