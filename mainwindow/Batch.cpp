#include "frmMain.h"

// Batch conversion.

void frmMain::Command4_Click() {}
