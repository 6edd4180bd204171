// SPDX-License-Identifier: MIT
#include "mainwindow/LayoutRules.h"

namespace pixtint {

namespace LayoutRules {

namespace {

constexpr double Margin = 120;
// Either side of the arrow: 60 to the image, 120 from the image to the window's edge.
constexpr double PreviewSideMargins = 180;
// With its height of 255 the backup box's bottom meets the status bar.
constexpr double BackupBoxBelowButtons = 240;

std::optional<PreviewFit::PreviewRoom> previewArea(double clientWidth, double buttonRowTop) {
    using Design::fileFrame;
    using PreviewFit::nearest;
    const auto widthLimit = nearest((clientWidth - Design::arrow.width) / 2 - PreviewSideMargins);
    // From 120 below the file frame to 120 above the button row.
    const auto heightLimit = nearest(buttonRowTop - fileFrame.top - fileFrame.height - 2 * Margin);
    const auto centreX = nearest(clientWidth / 2);
    if (!widthLimit || !heightLimit || !centreX) {
        return std::nullopt;
    }
    // Centred on the rounded limit, so the area keeps 120 clear of the buttons.
    const auto centreY = nearest(buttonRowTop - Margin - static_cast<double>(*heightLimit) / 2);
    if (!centreY) {
        return std::nullopt;
    }
    return PreviewFit::PreviewRoom{*widthLimit, *heightLimit, *centreX, *centreY};
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

std::optional<Layout> layOut(double clientWidth, double clientHeight) {
    Layout layout{Design::fileFrame,     Design::folderLabel,   Design::browseButton,
                  Design::fileList,      Design::refreshButton, Design::conversionFrame,
                  Design::arrow,         Design::backupBox,     Design::readmeButton,
                  Design::convertButton, Design::exitButton,    {}};
    // The file frame takes what the conversion frame and three margins leave; inside it the
    // folder and the list keep a margin either side, the buttons one on the right.
    layout.fileFrame.width = clientWidth - Design::conversionFrame.width - 3 * Margin;
    layout.folderLabel.width = layout.fileFrame.width - 2 * Margin;
    layout.fileList.width = layout.folderLabel.width;
    layout.browseButton.left = layout.fileFrame.width - Design::browseButton.width - Margin;
    layout.refreshButton.left = layout.browseButton.left;
    layout.conversionFrame.left = Design::fileFrame.left + layout.fileFrame.width + Margin;

    // The buttons touch each other, right to left, 120 above the status bar.
    const double buttonTop =
        clientHeight - Design::statusBar.height - Design::exitButton.height - Margin;
    layout.exitButton.left = clientWidth - Design::exitButton.width - Margin;
    layout.convertButton.left = layout.exitButton.left - Design::convertButton.width;
    layout.readmeButton.left = layout.convertButton.left - Design::readmeButton.width;
    layout.exitButton.top = layout.convertButton.top = layout.readmeButton.top = buttonTop;
    layout.backupBox.top = buttonTop + BackupBoxBelowButtons;

    const auto preview = previewArea(clientWidth, buttonTop);
    if (!preview) {
        return std::nullopt;
    }
    layout.preview = *preview;
    layout.arrow.left = layout.preview.centreX - Design::arrow.width / 2;
    layout.arrow.top = layout.preview.centreY - Design::arrow.height / 2;
    return layout;
}

TwipsRect statusBarPlace(double clientWidth, double clientHeight) {
    return {0, clientHeight - Design::statusBar.height, clientWidth, Design::statusBar.height};
}

} // namespace LayoutRules

} // namespace pixtint
