#include "frmMain.h"

// Preview image placement and the size options' enabled state.

void frmMain::PlacePreviewImages(std::int32_t, std::int32_t) {}

void frmMain::EnableSizeOptions(bool) {}
