// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"
#include "app/DisplayGuard.h"
#include "desktop/ProgramInfo.h"
#include "desktop/UiLanguage.h"
#include "dialogs/ButtonColourDialog.h"
#include "dialogs/QtDialogs.h"
#include "mainwindow/StartUp.h"

#include <QApplication>
#include <iostream>
#include <optional>

using namespace pixtint;

int main(int argc, char** argv) {
    // --help, --version and a usage error answer on the terminal, before Qt looks for a
    // display.
    if (const auto status = answerOnTerminal(parseCommandLine(argc, argv), std::cout, std::cerr)) {
        return *status;
    }
    // Only Qt's start is guarded: later messages take their usual course.
    std::optional<DisplayGuard> noDisplay(std::in_place);
    QApplication application(argc, argv); // takes Qt's own options out of argv
    noDisplay.reset();
    QGuiApplication::setDesktopFileName(QStringLiteral(PIXTINT_APP_ID));
    const CommandLine commandLine = parseCommandLine(argc, argv);
    useUiLanguage(application, commandLine.language.value_or(desktopUiLanguage()));
    if (const auto status = answerOnTerminal(commandLine, std::cout, std::cerr)) {
        return *status;
    }
    QtDialogs dialogs(&ButtonColourDialog::ask);
    auto window = startMainWindow(dialogs, ProgramInfo::programFolder(), commandLine.folder,
                                  commandLine.file);
    return application.exec();
}
