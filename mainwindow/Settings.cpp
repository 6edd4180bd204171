#include "frmMain.h"

// Start-up, settings file and exit.

void frmMain::Form_Load() {}

bool frmMain::LoadSettings() { return false; }

void frmMain::Command1_Click() { close(); }

void frmMain::Command7_Click() {}

void frmMain::SaveSettings() {}
