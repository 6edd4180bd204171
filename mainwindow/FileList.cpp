// SPDX-License-Identifier: MIT
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/BusyCursor.h"

namespace pixtint {

void MainWindow::refreshFileList() {
    BusyCursor busy;
    filePanel_->refreshFileList(state_.folder);
    previewSelectedFile();
    filePanel_->showFileCount();
}

void MainWindow::useFolder(const QString& folder) {
    state_.folder = folder;
    filePanel_->showFolder(folder);
    refreshFileList();
}

} // namespace pixtint
