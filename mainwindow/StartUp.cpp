#include "mainwindow/StartUp.h"

#include "platform/ProgramInfo.h"

namespace pixtint {

std::unique_ptr<frmMain> Main(Dialogs& dialogs) {
    return Main(dialogs, ProgramInfo::ProgramFolder());
}

std::unique_ptr<frmMain> Main(Dialogs& dialogs, const QString& programFolder) {
    auto window = std::make_unique<frmMain>(dialogs, programFolder);
    window->Show();
    window->Command3_Click();
    return window;
}

} // namespace pixtint
