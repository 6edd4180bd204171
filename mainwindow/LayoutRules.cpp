#include "mainwindow/LayoutRules.h"

namespace pixtint {

namespace LayoutRules {

namespace {

constexpr double Margin = 120;
// Either side of the arrow: 60 to the image, 120 from the image to the window's edge.
constexpr double PreviewSideMargins = 180;

PreviewFit::PreviewArea previewArea(const LayoutInput& input, double buttonRowTop) {
    PreviewFit::PreviewArea area;
    area.widthLimit =
        PreviewFit::nearest((input.scaleWidth - input.image3Width) / 2 - PreviewSideMargins);
    // From 120 below the file frame to 120 above the button row.
    area.heightLimit =
        PreviewFit::nearest(buttonRowTop - input.frame1Top - input.frame1Height - 2 * Margin);
    area.centreX = PreviewFit::nearest(input.scaleWidth / 2);
    // Centred on the rounded limit, so the area keeps 120 clear of the buttons.
    area.centreY =
        PreviewFit::nearest(buttonRowTop - Margin - static_cast<double>(area.heightLimit) / 2);
    return area;
}

} // namespace

SizeCorrection neededCorrection(double outerWidth, double outerHeight) {
    if (outerWidth < MinimumOuterWidth) {
        return SizeCorrection::Width;
    }
    if (outerHeight < MinimumOuterHeight) {
        return SizeCorrection::Height;
    }
    return SizeCorrection::None;
}

Layout layOut(const LayoutInput& input) {
    Layout layout;
    // The file frame takes what the conversion frame and three margins leave.
    layout.frame1Width = input.scaleWidth - input.frame2Width - 3 * Margin;
    layout.label1Width = layout.frame1Width - 2 * Margin;
    layout.command2Left = layout.frame1Width - input.command2Width - Margin;
    layout.frame2Left = input.frame1Left + layout.frame1Width + Margin;

    // The buttons touch each other, right to left, 120 above the status bar.
    layout.command1Left = input.scaleWidth - input.command1Width - Margin;
    layout.command1Top = input.scaleHeight - input.statusBarHeight - input.command1Height - Margin;
    layout.command4Left = layout.command1Left - input.command4Width;
    layout.command7Left = layout.command4Left - input.command7Width;
    // With its height of 255 the backup option's bottom meets the status bar.
    layout.check1Top = layout.command1Top + 240;

    layout.preview = previewArea(input, layout.command1Top);
    layout.image3Left = layout.preview.centreX - input.image3Width / 2;
    layout.image3Top = layout.preview.centreY - input.image3Height / 2;
    return layout;
}

} // namespace LayoutRules

} // namespace pixtint
