#pragma once

#include "mainwindow/PreviewFit.h"

#include <cstdint>

namespace pixtint {

// How the main window follows its size: the minimum outer size, and where the controls that
// track the window's edges go. The file frame grows with the width, the conversion frame and
// the command buttons keep to the right and bottom edges, and what lies between the file frame
// and the buttons is the preview area. All in twips.
namespace LayoutRules {

inline constexpr double MinimumOuterWidth = 7500;
inline constexpr double MinimumOuterHeight = 5500;
// A window found too small is set a little above the minimum.
inline constexpr double CorrectedOuterWidth = 7600;
inline constexpr double CorrectedOuterHeight = 5600;

enum class SizeCorrection { None, Width, Height };

// The width is checked first; the height only once the width is acceptable.
SizeCorrection neededCorrection(double outerWidth, double outerHeight);

// What the layout reads: the client area and the controls' sizes that never change.
struct LayoutInput {
    double scaleWidth = 0;
    double scaleHeight = 0;
    double statusBarHeight = 0;
    double frame1Left = 0;
    double frame1Top = 0;
    double frame1Height = 0;
    double frame2Width = 0;
    double command2Width = 0;
    double command1Width = 0;
    double command1Height = 0;
    double command4Width = 0;
    double command7Width = 0;
    double image3Width = 0;
    double image3Height = 0;
};

// Where the layout puts things. Command3 shares Command2's Left, ListView1 Label1's Width, and
// Command4 and Command7 share Command1's Top.
struct Layout {
    double frame1Width = 0;
    double label1Width = 0;
    double command2Left = 0;
    double frame2Left = 0;
    double command1Left = 0;
    double command1Top = 0;
    double command4Left = 0;
    double command7Left = 0;
    double check1Top = 0;
    PreviewFit::PreviewArea preview;
    double image3Left = 0;
    double image3Top = 0;
};

// Throws AppError 6 if a preview value does not fit in 32 bits, which no window Qt can make
// reaches.
Layout layOut(const LayoutInput& input);

} // namespace LayoutRules

} // namespace pixtint
