#include "app/CommandLine.h"
#include "coloursources/frmWindowsButtonColor.h"
#include "mainwindow/StartUp.h"
#include "platform/ProgramInfo.h"
#include "platform/QtDialogs.h"
#include "platform/UiLanguage.h"

#include <QApplication>
#include <iostream>

using namespace pixtint;

int main(int argc, char** argv) {
    // --help and --version answer on the terminal, before Qt looks for a display.
    if (const CommandLine early = ParseCommandLine(argc, argv); early.help || early.version) {
        return AnswerOnTerminal(early, std::cout, std::cerr).value_or(0);
    }
    QApplication application(argc, argv); // takes Qt's own options out of argv
    QGuiApplication::setDesktopFileName(QStringLiteral(PIXTINT_APP_ID));
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    useUiLanguage(application, commandLine.language.value_or(desktopUiLanguage()));
    if (const auto status = AnswerOnTerminal(commandLine, std::cout, std::cerr)) {
        return *status;
    }
    QtDialogs dialogs([](QWidget* owner, QString& tag) {
        // A fresh dialog for every opening, gone when it closes.
        frmWindowsButtonColor dialog(tag, owner);
        dialog.exec();
    });
    auto window = Main(dialogs, ProgramInfo::ProgramFolder(), commandLine.folder);
    return application.exec();
}
