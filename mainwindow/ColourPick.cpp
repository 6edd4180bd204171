#include "mainwindow/ColourPanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewArea.h"

namespace pixtint {

// A colour picked from the screen: a colour button arms the pick on its swatch's preview,
// and the next release of a mouse button over either preview ends it, taking the colour under
// the pointer for a left button. Esc ends it too, taking nothing.

namespace {
constexpr int LeftButton = 1;
} // namespace

void MainWindow::startPick(int swatch) {
    const int image = swatch; // the before colour from the before image, the after from the after
    state_.pick = ColourPick{swatch, image};
    previewArea_->startPick(image);
    applyEnabledState();
}

void MainWindow::previewReleased(int, int button) {
    if (!state_.pick) {
        return;
    }
    if (button == LeftButton) {
        colourPanel_->takeColourUnderPointer(state_.pick->swatch);
    }
    endPick();
}

void MainWindow::endPick() {
    state_.pick.reset();
    offerSizeOptions(sixteenByFifteen_);
    previewArea_->endPick();
}

} // namespace pixtint
