#include "mainwindow/StartUp.h"

#include "platform/ProgramInfo.h"

namespace pixtint {

std::unique_ptr<frmMain> Main(Dialogs& dialogs) {
    return Main(dialogs, ProgramInfo::ProgramFolder());
}

std::unique_ptr<frmMain> Main(Dialogs& dialogs, const QString& programFolder) {
    return Main(dialogs, programFolder, std::nullopt);
}

std::unique_ptr<frmMain> Main(Dialogs& dialogs, const QString& programFolder,
                              const std::optional<QString>& startFolder) {
    auto window = std::make_unique<frmMain>(dialogs, programFolder);
    window->Show();
    if (startFolder) {
        window->Label1->setCaption(*startFolder);
    }
    window->Command3_Click();
    return window;
}

} // namespace pixtint
