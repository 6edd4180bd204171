// SPDX-License-Identifier: MIT

#include "mainwindow/PreviewFit.h"

#include <array>
#include <gtest/gtest.h>
#include <optional>

namespace pixtint {

// How a picture fits the preview area, checked without a window.

namespace {

using PreviewFit::PreviewRoom;
using PreviewFit::Size;

using Fitted = std::optional<std::array<std::int32_t, 2>>;

// The fitted width and height, or nothing when the size cannot be fitted.
Fitted fitted(Size size, const PreviewRoom& area) {
    const std::optional<Size> result = PreviewFit::fit(size, area);
    return result ? Fitted({result->width, result->height}) : std::nullopt;
}

} // namespace

TEST(PreviewFitTest, FitsTheTighterSideKeepingProportionsAndNeverEnlarges) {
    const PreviewRoom area{4000, 3000, 0, 0};
    EXPECT_EQ(fitted({800, 750}, area), (std::array{800, 750}));
    EXPECT_EQ(fitted({8000, 3000}, area), (std::array{4000, 1500}));
    // Equal ratios: the height goes to its limit and the width follows.
    EXPECT_EQ(fitted({8000, 6000}, area), (std::array{4000, 3000}));
    // 4000 * 2001 / 8000 = 1000.5 goes to the even 1000.
    EXPECT_EQ(fitted({8000, 2001}, area), (std::array{4000, 1000}));
    EXPECT_EQ(fitted({1000, 6000}, area), (std::array{500, 3000}));
    // Impossible sizes are errors, not undefined behaviour; a side of 0 that needs no fitting
    // is not divided by.
    EXPECT_EQ(fitted({0, 5000}, area), std::nullopt);
    EXPECT_EQ(fitted({8000, 0}, area), std::nullopt);
    EXPECT_EQ(fitted({0, 0}, PreviewRoom{}), (std::array{0, 0}));
    // A top-down picture's negative height can make the fitted width far too large.
    EXPECT_EQ(fitted({2000000000, -1}, area), std::nullopt);
}

// Before the layout has run every picture fits into nothing, which would leave a box of no
// pixels that no click can reach.
TEST(PreviewFitTest, NothingIsShownSmallerThanOnePixel) {
    EXPECT_EQ(fitted({800, 750}, {}), (std::array<std::int32_t, 2>{0, 0}));
    const Size shown = PreviewFit::visible(PreviewFit::fit({800, 750}, {}).value());
    EXPECT_EQ((std::array{shown.width, shown.height}), (std::array<std::int32_t, 2>{15, 15}));
}

} // namespace pixtint
