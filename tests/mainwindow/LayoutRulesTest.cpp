#include "mainwindow/LayoutRules.h"

#include "engine/AppError.h"
#include "mainwindow/PreviewFit.h"

#include <array>
#include <gtest/gtest.h>

namespace pixtint {

// The window's size rules, checked without a window.

namespace {

using PreviewFit::PreviewArea;
using PreviewFit::Size;

// The fitted width and height, or the negated number of the error that fitting threw and 0.
std::array<std::int32_t, 2> fitted(Size size, const PreviewArea& area) {
    try {
        const Size result = PreviewFit::fit(size, area);
        return {result.width, result.height};
    } catch (const AppError& error) {
        return {-error.number(), 0};
    }
}

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

TEST(PreviewFitTest, NearestGoesToTheEvenNeighbourOnlyForExactHalves) {
    EXPECT_EQ(PreviewFit::nearest(1000.5), 1000);
    EXPECT_EQ(PreviewFit::nearest(1001.5), 1002);
    EXPECT_EQ(PreviewFit::nearest(-3.5), -4);
    EXPECT_EQ(PreviewFit::nearest(1000.5000001), 1001);
    EXPECT_THROW(PreviewFit::nearest(2147483647.5), AppError);
}

TEST(PreviewFitTest, FitsTheTighterSideKeepingProportionsAndNeverEnlarges) {
    const PreviewArea area{4000, 3000, 0, 0};
    EXPECT_EQ(fitted({800, 750}, area), (std::array{800, 750}));
    EXPECT_EQ(fitted({4000, 3000}, area), (std::array{4000, 3000}));
    EXPECT_EQ(fitted({8000, 3000}, area), (std::array{4000, 1500}));
    // Equal ratios: the height goes to its limit and the width follows.
    EXPECT_EQ(fitted({8000, 6000}, area), (std::array{4000, 3000}));
    // 4000 * 2001 / 8000 = 1000.5 goes to the even 1000.
    EXPECT_EQ(fitted({8000, 2001}, area), (std::array{4000, 1000}));
    EXPECT_EQ(fitted({1000, 6000}, area), (std::array{500, 3000}));
    // Before the window is laid out every picture is squeezed to nothing.
    EXPECT_EQ(fitted({800, 750}, PreviewArea{}), (std::array{0, 0}));
    // Impossible sizes are errors, not undefined behaviour; a side of 0 that needs no fitting
    // is not divided by.
    EXPECT_EQ(fitted({0, 5000}, area), (std::array{-ErrorNumber::DivisionByZero, 0}));
    EXPECT_EQ(fitted({8000, 0}, area), (std::array{-ErrorNumber::DivisionByZero, 0}));
    EXPECT_EQ(fitted({0, 0}, PreviewArea{}), (std::array{0, 0}));
    // A top-down picture's negative height can make the fitted width far too large.
    EXPECT_EQ(fitted({2000000000, -1}, area), (std::array{-ErrorNumber::Overflow, 0}));
}

// The design size is checked through the real window.
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
