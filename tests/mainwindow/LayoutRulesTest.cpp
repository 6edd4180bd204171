#include "mainwindow/LayoutRules.h"

#include "mainwindow/ErrorMessages.h"

#include <gtest/gtest.h>

namespace pixtint {

// The window's size rules, checked without a window.

TEST(LayoutRulesTest, TheDesignSizeGivesTheDesignLayout) {
    const LayoutRules::Layout layout = LayoutRules::layOut(8910, 6270);
    using namespace LayoutRules::Design;
    EXPECT_EQ(layout.fileFrame, fileFrame);
    EXPECT_EQ(layout.folderLabel, folderLabel);
    EXPECT_EQ(layout.browseButton, browseButton);
    EXPECT_EQ(layout.fileList, fileList);
    EXPECT_EQ(layout.refreshButton, refreshButton);
    // The few twips the design's buttons were off the edges are made good.
    EXPECT_EQ(layout.conversionFrame.left, 5535);
    EXPECT_EQ(layout.exitButton.left, 7935);
    EXPECT_EQ(layout.exitButton.top, 5475);
    EXPECT_EQ(layout.backupBox.top, 5715);
}

TEST(LayoutRulesTest, ControlsFollowTheClientArea) {
    const LayoutRules::Layout layout = LayoutRules::layOut(12000, 9000);
    // The file frame and what is in it grow with the width.
    EXPECT_EQ(layout.fileFrame.width, 8385);
    EXPECT_EQ(layout.folderLabel.width, 8145);
    EXPECT_EQ(layout.fileList.width, 8145);
    EXPECT_EQ(layout.browseButton.left, 7410);
    EXPECT_EQ(layout.refreshButton.left, 7410);
    EXPECT_EQ(layout.conversionFrame.left, 8625);
    // The buttons keep to the bottom right, touching each other, sizes unchanged.
    EXPECT_EQ(layout.exitButton, (TwipsRect{11025, 8205, 855, 375}));
    EXPECT_EQ(layout.convertButton, (TwipsRect{9570, 8205, 1455, 375}));
    EXPECT_EQ(layout.readmeButton, (TwipsRect{8235, 8205, 1335, 375}));
    EXPECT_EQ(layout.backupBox.top, 8445);
    // The preview area lies between the file frame and the buttons, the arrow in its centre.
    EXPECT_EQ(layout.preview.widthLimit, 5565);
    EXPECT_EQ(layout.preview.heightLimit, 4710);
    EXPECT_EQ(layout.preview.centreX, 6000);
    EXPECT_EQ(layout.preview.centreY, 5730);
    EXPECT_EQ(layout.arrow, (TwipsRect{5745, 5565, 510, 330}));
    EXPECT_EQ(LayoutRules::statusBarPlace(12000, 9000), (TwipsRect{0, 8700, 12000, 300}));
}

// Halves: width limit 4027.5 up, centre x 4462.5 down, height limit 1995 so centre y 4372.5
// down.
TEST(LayoutRulesTest, PreviewValuesRoundHalvesToEven) {
    const LayoutRules::Layout layout = LayoutRules::layOut(8925, 6285);
    EXPECT_EQ(layout.preview.widthLimit, 4028);
    EXPECT_EQ(layout.preview.heightLimit, 1995);
    EXPECT_EQ(layout.preview.centreX, 4462);
    EXPECT_EQ(layout.preview.centreY, 4372);
    EXPECT_EQ(layout.arrow.left, 4207);
    EXPECT_EQ(layout.arrow.top, 4207);
}

TEST(LayoutRulesTest, TheWidthIsCorrectedBeforeTheHeight) {
    using LayoutRules::SizeCorrection;
    EXPECT_EQ(LayoutRules::neededCorrection(7500, 5500), SizeCorrection::None);
    EXPECT_EQ(LayoutRules::neededCorrection(7499, 5000), SizeCorrection::Width);
    EXPECT_EQ(LayoutRules::neededCorrection(7500, 5499), SizeCorrection::Height);
}

TEST(LayoutRulesTest, APreviewValueBeyondThirtyTwoBitsIsAnOverflow) {
    try {
        LayoutRules::layOut(1e12, 6270);
        ADD_FAILURE() << "no overflow";
    } catch (const WindowError& error) {
        EXPECT_EQ(error.number(), 6);
    }
}

} // namespace pixtint
