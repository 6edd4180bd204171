#pragma once

#include "mainwindow/frmMain.h"

#include <memory>

namespace pixtint {

class Dialogs;

// The program's start-up: shows the main window (loading it first) and lists the remembered
// folder. The window lives as long as the answer.
std::unique_ptr<frmMain> Main(Dialogs& dialogs);
// The same with the folder that holds the settings file and Readme.txt given.
std::unique_ptr<frmMain> Main(Dialogs& dialogs, const QString& programFolder);

} // namespace pixtint
