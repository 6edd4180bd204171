#include "mainwindow/frmMain.h"

namespace pixtint {

// Size options: both redo the preview, so that the after image shows the current choice.

void frmMain::Check2_Click() {
    ListView1_Click();
    // After the preview, which may have enabled the options for a 16 x 15 picture: they are
    // offered exactly while the row insertion is switched on.
    const bool insertRow = Check2->Value() != 0;
    Option1[0]->setEnabled(insertRow);
    Option1[1]->setEnabled(insertRow);
}

void frmMain::Option1_Click(int) {
    ListView1_Click();
}

} // namespace pixtint
