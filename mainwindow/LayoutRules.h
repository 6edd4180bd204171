// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/PreviewFit.h"
#include "widgets/Twips.h"

#include <optional>

namespace pixtint {

// How the main window follows its size: the minimum outer size, and where the controls that
// track the window's edges go. The file frame grows with the width, the conversion frame and
// the command buttons keep to the right and bottom edges, the status bar runs along the bottom,
// and what lies between the file frame and the buttons is the preview area. All in twips, each
// control in its container's coordinates.
namespace LayoutRules {

inline constexpr double MinimumOuterWidth = 7500;
inline constexpr double MinimumOuterHeight = 5500;
// A window found too small is set a little above the minimum.
inline constexpr double CorrectedOuterWidth = 7600;
inline constexpr double CorrectedOuterHeight = 5600;

enum class SizeCorrection { None, Width, Height };

// The width is checked first; the height only once the width is acceptable.
SizeCorrection neededCorrection(double outerWidth, double outerHeight);

// The window as designed: its client area and the controls the layout moves.
namespace Design {
inline constexpr double ClientWidth = 8910;
inline constexpr double ClientHeight = 6270;
inline constexpr TwipsRect fileFrame{120, 120, 5295, 3135};
inline constexpr TwipsRect folderLabel{120, 480, 5055, 255};
inline constexpr TwipsRect browseButton{4320, 840, 855, 375};
inline constexpr TwipsRect fileList{120, 1320, 5055, 1215};
inline constexpr TwipsRect refreshButton{4320, 2640, 855, 375};
inline constexpr TwipsRect conversionFrame{5520, 120, 3255, 3135};
inline constexpr TwipsRect arrow{4320, 4320, 510, 330};
inline constexpr TwipsRect backupBox{120, 5520, 3495, 255};
inline constexpr TwipsRect readmeButton{5160, 5400, 1335, 375};
inline constexpr TwipsRect convertButton{6480, 5400, 1455, 375};
inline constexpr TwipsRect exitButton{7920, 5400, 855, 375};
inline constexpr TwipsRect statusBar{0, 5970, 8910, 300};
} // namespace Design

// Where the layout puts things for one client area.
struct Layout {
    TwipsRect fileFrame;
    TwipsRect folderLabel;
    TwipsRect browseButton;
    TwipsRect fileList;
    TwipsRect refreshButton;
    TwipsRect conversionFrame;
    TwipsRect arrow;
    TwipsRect backupBox;
    TwipsRect readmeButton;
    TwipsRect convertButton;
    TwipsRect exitButton;
    PreviewFit::PreviewRoom preview;
};

// Nothing if a preview value does not fit in 32 bits, which no window Qt can make reaches.
std::optional<Layout> layOut(double clientWidth, double clientHeight);

// The status bar is docked along the bottom edge, across the whole client area, whatever the
// size: a window too small for the rest of the layout included.
TwipsRect statusBarPlace(double clientWidth, double clientHeight);

} // namespace LayoutRules

} // namespace pixtint
