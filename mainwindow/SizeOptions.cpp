#include "frmMain.h"

// Size options.

void frmMain::Check2_Click() {}

void frmMain::Option1_Click(int) {}
