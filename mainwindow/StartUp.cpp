#include "mainwindow/StartUp.h"

#include "platform/ProgramInfo.h"

namespace pixtint {

std::unique_ptr<MainWindow> Main(Dialogs& dialogs) {
    return Main(dialogs, ProgramInfo::ProgramFolder());
}

std::unique_ptr<MainWindow> Main(Dialogs& dialogs, const QString& programFolder) {
    auto window = std::make_unique<MainWindow>(dialogs, programFolder);
    window->showWindow();
    window->refreshFileList();
    return window;
}

} // namespace pixtint
