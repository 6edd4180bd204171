#include "frmMain.h"

// Window layout.

void frmMain::Form_Resize() {}

void frmMain::CorrectMinimumSize() {}

void frmMain::LayOutControls() {}
