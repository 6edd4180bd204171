// SPDX-License-Identifier: MIT
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/BusyCursor.h"
#include "platform/FilePaths.h"

namespace pixtint {

void MainWindow::refreshFileList() {
    BusyCursor busy;
    filePanel_->refreshFileList(state_.folder);
    previewSelectedFile();
    filePanel_->showFileCount();
}

void MainWindow::selectFile(const std::string& name) {
    FileListWidget& list = filePanel_->fileList();
    for (int row = 0; row < list.count(); ++row) {
        if (list.fileName(row) == name) {
            list.selectRow(row);
            previewSelectedFile();
            return;
        }
    }
}

void MainWindow::useFolder(const QString& folder) {
    state_.folder = folderPath(folder);
    filePanel_->showFolder(state_.folder);
    refreshFileList();
}

} // namespace pixtint
