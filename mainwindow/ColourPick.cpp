// SPDX-License-Identifier: MIT
#include "mainwindow/ColourPanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"
#include "platform/PictureView.h"

#include <QCursor>

namespace pixtint {

// A colour picked from a preview: a colour button arms the pick on its side's preview, and
// the next release of a mouse button over either preview ends it. A left release over that same
// preview takes the colour of the picture's pixel under the pointer (what the pixel stands for,
// not how the screen blends its alpha); any other release, or Esc, takes nothing.

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
        const PictureView& image = previewArea_->image(side);
        colourPanel_->takePickedColour(side,
                                       image.pictureColourAt(image.mapFromGlobal(QCursor::pos())));
    }
    endPick();
}

void MainWindow::endPick() {
    state_.pick.reset();
    offerSizeOptions(growable_);
    previewArea_->endPick();
}

} // namespace pixtint
