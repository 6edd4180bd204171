// SPDX-License-Identifier: MIT
#include "mainwindow/ColourPanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"

namespace pixtint {

// A colour picked from the screen: a colour button arms the pick on its side's preview, and
// the next release of a mouse button over either preview ends it. A left release over that same
// preview takes the colour under the pointer; any other release, or Esc, takes nothing.

void MainWindow::startPick(Side side) {
    state_.pick = side;
    previewArea_->startPick(side);
    applyEnabledState();
}

void MainWindow::previewReleased(Side side, Qt::MouseButton button) {
    if (!state_.pick) {
        return;
    }
    if (button == Qt::LeftButton && side == *state_.pick) {
        colourPanel_->takeColourUnderPointer(side);
    }
    endPick();
}

void MainWindow::endPick() {
    state_.pick.reset();
    offerSizeOptions(sixteenByFifteen_);
    previewArea_->endPick();
}

} // namespace pixtint
