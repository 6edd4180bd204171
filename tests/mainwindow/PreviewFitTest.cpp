#include "mainwindow/PreviewFit.h"

#include "mainwindow/ErrorMessages.h"

#include <array>
#include <gtest/gtest.h>

namespace pixtint {

// How a picture's display size fits the preview area, checked without a window.

namespace {

using PreviewFit::PreviewArea;
using PreviewFit::Size;

// The fitted width and height, or the negated number of the error that fitting threw and 0.
std::array<std::int32_t, 2> fitted(Size size, const PreviewArea& area) {
    try {
        const Size result = PreviewFit::fit(size, area);
        return {result.width, result.height};
    } catch (const WindowError& error) {
        return {-error.number(), 0};
    }
}

} // namespace

TEST(PreviewFitTest, NearestGoesToTheEvenNeighbourOnlyForExactHalves) {
    EXPECT_EQ(PreviewFit::nearest(1000.5), 1000);
    EXPECT_EQ(PreviewFit::nearest(1001.5), 1002);
    EXPECT_EQ(PreviewFit::nearest(-3.5), -4);
    EXPECT_EQ(PreviewFit::nearest(1000.5000001), 1001);
    EXPECT_THROW(PreviewFit::nearest(2147483647.5), WindowError);
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
    EXPECT_EQ(fitted({0, 5000}, area), (std::array{-MessageNumber::DivisionByZero, 0}));
    EXPECT_EQ(fitted({8000, 0}, area), (std::array{-MessageNumber::DivisionByZero, 0}));
    EXPECT_EQ(fitted({0, 0}, PreviewArea{}), (std::array{0, 0}));
    // A top-down picture's negative height can make the fitted width far too large.
    EXPECT_EQ(fitted({2000000000, -1}, area), (std::array{-MessageNumber::Overflow, 0}));
}

// Around the design centre (4455, 4365), 60 twips either side of the 510-wide arrow.
TEST(PreviewFitTest, TheImagesStandEitherSideOfTheArrowSharingTheirTop) {
    const PreviewArea area{4020, 1980, 4455, 4365};
    const PreviewFit::ImagePlaces places = PreviewFit::placeImages({800, 750}, area, 510, false);
    EXPECT_EQ(places.before, (TwipsRect{4455 - 255 - 60 - 800, 4365 - 375, 800, 750}));
    EXPECT_EQ(places.after, (TwipsRect{4455 + 255 + 60, 4365 - 375, 800, 750}));
    // The row to be inserted: the after image a fifteenth taller, from the same top.
    const PreviewFit::ImagePlaces grown = PreviewFit::placeImages({800, 750}, area, 510, true);
    EXPECT_EQ(grown.after.height, 800);
    EXPECT_EQ(grown.after.top, grown.before.top);
}

// Before the layout has run every picture fits into nothing, and a picture far wider than
// high fits into no height: either would leave a box of no pixels that no click can reach.
TEST(PreviewFitTest, NothingIsShownSmallerThanOnePixel) {
    EXPECT_EQ(fitted({800, 750}, {}), (std::array<std::int32_t, 2>{0, 0}));
    const Size shown = PreviewFit::visible(PreviewFit::fit({800, 750}, {}));
    EXPECT_EQ((std::array{shown.width, shown.height}), (std::array<std::int32_t, 2>{15, 15}));
    const Size wide = PreviewFit::visible(PreviewFit::fit({150000, 50}, {4000, 3000, 0, 0}));
    EXPECT_EQ((std::array{wide.width, wide.height}), (std::array<std::int32_t, 2>{4000, 15}));
}

} // namespace pixtint
