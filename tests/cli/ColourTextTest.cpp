#include "cli/ColourText.h"

#include <gtest/gtest.h>

namespace pixtint {

TEST(ColourText, ReadsHexWithOrWithoutHashInEitherCaseAndDecimalTriples) {
    EXPECT_EQ(parseColour("#ff00FF"), (Rgb{255, 0, 255}));
    EXPECT_EQ(parseColour("0cC828"), (Rgb{12, 200, 40}));
    EXPECT_EQ(parseColour("12,200,40"), (Rgb{12, 200, 40}));
    EXPECT_EQ(parseColour(" 0 , 255 ,007"), (Rgb{0, 255, 7}));
    EXPECT_EQ(parseColour("123456"), (Rgb{0x12, 0x34, 0x56})); // six digits are hex
}

TEST(ColourText, RejectsAnythingElse) {
    for (const char* text : {"", "#", "ff00f", "#ff00ff0", "##ff00ff", "gg0000", "0x1234",
                             "#-1ffff", "+1ffff", "256,0,0", "1,2", "1,2,3,4", "-1,2,3", "+1,2,3",
                             "1,,3", "1 2,3,4", "1,2,3,", "ff 00 ff"}) {
        EXPECT_FALSE(parseColour(text)) << text;
    }
}

TEST(ColourText, ReadsAPairAroundItsEqualsSign) {
    EXPECT_EQ(parseColourPair("#0000ff=255,0,0"), (ColourPair{{0, 0, 255}, {255, 0, 0}}));
    for (const char* text :
         {"0000ff", "0000ff=", "=ff0000", "0000ff=ff0000=00ff00", "0000ff:ff0000"}) {
        EXPECT_FALSE(parseColourPair(text)) << text;
    }
}

} // namespace pixtint
