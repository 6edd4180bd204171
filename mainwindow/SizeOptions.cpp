// SPDX-License-Identifier: MIT
#include "mainwindow/MainWindow.h"

namespace pixtint {

// Both size options redo the preview, so that the after image shows the current choice.

void MainWindow::resizeToggled(Qt::CheckState state) {
    state_.resizeTo16x16 = state;
    previewSelectedFile();
    // After the preview, which may have offered the options for a 16 x 15 icon or strip: the row
    // options are offered exactly while the row insertion is switched on.
    rowOptionsOffered_ = state != Qt::Unchecked;
    applyEnabledState();
}

void MainWindow::rowChosen(bool atTop) {
    state_.insertAtTop = atTop;
    previewSelectedFile();
}

} // namespace pixtint
