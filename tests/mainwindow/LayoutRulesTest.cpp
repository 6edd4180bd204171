#include "mainwindow/LayoutRules.h"

#include <array>
#include <gtest/gtest.h>

namespace pixtint {

// The window's size rules, checked without a window.

namespace {

// The layout of a client area of the given size, with the controls' design sizes, as
// Frame1.Width, Label1.Width, Command2.Left, Frame2.Left, Command1.Left, Command1.Top,
// Command4.Left, Command7.Left, Check1.Top, the four preview values, Image3.Left, Image3.Top.
std::array<double, 15> layoutFigures(double scaleWidth, double scaleHeight) {
    // The status bar's height, Frame1's Left, Top and Height, then the widths of Frame2,
    // Command2, Command1, Command1's height, the widths of Command4 and Command7, Image3's size.
    const LayoutRules::Layout l = LayoutRules::layOut(
        {scaleWidth, scaleHeight, 300, 120, 120, 3135, 3255, 855, 855, 375, 1455, 1335, 510, 330});
    const PreviewFit::PreviewArea& p = l.preview;
    return {l.frame1Width,        l.label1Width,         l.command2Left,
            l.frame2Left,         l.command1Left,        l.command1Top,
            l.command4Left,       l.command7Left,        l.check1Top,
            double(p.widthLimit), double(p.heightLimit), double(p.centreX),
            double(p.centreY),    l.image3Left,          l.image3Top};
}

} // namespace

TEST(LayoutRulesTest, ControlsFollowTheClientArea) {
    EXPECT_EQ(layoutFigures(12000, 9000),
              (std::array<double, 15>{8385, 8145, 7410, 8625, 11025, 8205, 9570, 8235, 8445, 5565,
                                      4710, 6000, 5730, 5745, 5565}));
    // Halves: width limit 4027.5 up, centre x 4462.5 down, height limit 1995 so centre y
    // 4372.5 down.
    EXPECT_EQ(layoutFigures(8925, 6285),
              (std::array<double, 15>{5310, 5070, 4335, 5550, 7950, 5490, 6495, 5160, 5730, 4028,
                                      1995, 4462, 4372, 4207, 4207}));
}

} // namespace pixtint
