#include "mainwindow/PreviewFit.h"
#include "mainwindow/frmMain.h"

namespace pixtint {

// Preview image placement and the size options' enabled state.

void frmMain::PlacePreviewImages(std::int32_t width, std::int32_t height) {
    const PreviewFit::PreviewArea area{previewWidthLimit_, previewHeightLimit_, previewCentreX_,
                                       previewCentreY_};
    const PreviewFit::Size fitted = PreviewFit::fit({width, height}, area);

    ImageBox& before = *Image1[0];
    before.Move(before.Left(), before.Top(), fitted.width, fitted.height);
    before.setTop(PreviewFit::beforeTop(area, before.Height()));
    before.setLeft(PreviewFit::beforeLeft(area, Image3->Width(), before.Width()));

    ImageBox& after = *Image1[1];
    const bool rowInserted = sixteenByFifteen_ && Check2->Value() != 0;
    after.Move(after.Left(), before.Top(), fitted.width,
               PreviewFit::afterHeight(fitted.height, rowInserted));
    after.setLeft(PreviewFit::afterLeft(area, Image3->Width()));
}

void frmMain::EnableSizeOptions(bool enabled) {
    Frame4->setEnabled(enabled);
    Check2->setEnabled(enabled);
    Option1[0]->setEnabled(enabled);
    Option1[1]->setEnabled(enabled);
}

} // namespace pixtint
