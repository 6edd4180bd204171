// SPDX-License-Identifier: MIT
#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/FolderDrop.h"

#include <QShortcut>

namespace pixtint {

// What desktop programs offer beside their buttons: F5 refreshes the list, Ctrl+O opens the
// folder chooser, Ctrl+Q leaves as the exit button does (the settings kept), and a folder
// dropped on the window, or a file standing for its folder, is chosen as the chooser would.
void MainWindow::addShortcutsAndDrops() {
    const auto addShortcut = [this](const QKeySequence& keys, auto command) {
        auto* shortcut = new QShortcut(keys, this); // owned by the window
        connect(shortcut, &QShortcut::activated, this, [this, command] {
            if (acceptsCommands()) {
                command();
            }
        });
    };
    addShortcut(QKeySequence(Qt::Key_F5), [this] { refreshFileList(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { filePanel_->chooseFolder(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { leave(); });

    auto* drops = new FolderDropTarget(*this, [this] { return acceptsCommands(); });
    // Queued, so that the drag's source hears the drop accepted before the folder is read.
    connect(drops, &FolderDropTarget::folderDropped, this, &MainWindow::useFolder,
            Qt::QueuedConnection);
}

} // namespace pixtint
