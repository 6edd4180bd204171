#pragma once

#include "mainwindow/MainWindow.h"

#include <memory>

namespace pixtint {

class Dialogs;

// The program's start-up: shows the main window (loading its settings first) and lists the
// remembered folder. The window lives as long as the answer.
std::unique_ptr<MainWindow> Main(Dialogs& dialogs);
// The same with the folder that holds the settings file and Readme.txt given.
std::unique_ptr<MainWindow> Main(Dialogs& dialogs, const QString& programFolder);

} // namespace pixtint
