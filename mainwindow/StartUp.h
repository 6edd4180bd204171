// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/MainWindow.h"

#include <memory>
#include <optional>

namespace pixtint {

class Dialogs;

// The program's start-up: shows the main window (loading its settings first) and lists the
// remembered folder. The window lives as long as the answer.
std::unique_ptr<MainWindow> startMainWindow(Dialogs& dialogs);
// The same with the folder that the settings file and Readme.txt are found from given.
std::unique_ptr<MainWindow> startMainWindow(Dialogs& dialogs, const QString& programFolder);
// The same, listing `startFolder` instead of the remembered folder when one is given (the
// folder named on the command line); it is then the folder an exit keeps. A `startFile` in it
// is selected and previewed.
std::unique_ptr<MainWindow> startMainWindow(Dialogs& dialogs, const QString& programFolder,
                                            const std::optional<QString>& startFolder,
                                            const std::optional<std::string>& startFile = {});

} // namespace pixtint
