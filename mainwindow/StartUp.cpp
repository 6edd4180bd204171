// SPDX-License-Identifier: MIT
#include "mainwindow/StartUp.h"

#include "desktop/ProgramInfo.h"

namespace pixtint {

std::unique_ptr<MainWindow> startMainWindow(Dialogs& dialogs) {
    return startMainWindow(dialogs, ProgramInfo::programFolder());
}

std::unique_ptr<MainWindow> startMainWindow(Dialogs& dialogs, const QString& programFolder) {
    return startMainWindow(dialogs, programFolder, std::nullopt);
}

std::unique_ptr<MainWindow> startMainWindow(Dialogs& dialogs, const QString& programFolder,
                                            const std::optional<QString>& startFolder,
                                            const std::optional<std::string>& startFile) {
    auto window = std::make_unique<MainWindow>(dialogs, programFolder);
    window->showWindow();
    if (startFolder) {
        window->useFolder(*startFolder);
    } else {
        window->refreshFileList();
    }
    if (startFile) {
        window->selectFile(*startFile);
    }
    return window;
}

} // namespace pixtint
