#include "frmMain.h"

// Colour selection.

void frmMain::Command5_Click(int) {}

void frmMain::Image1_MouseUp(int, int) {}

void frmMain::EnableMainControls(bool, int) {}
