// SPDX-License-Identifier: MIT
#include "cli/Options.h"

#include <gtest/gtest.h>

namespace pixtint {

// Hex with or without a hash in either case, decimal triples, rgb(), and every CSS name in any
// case with the CSS values, which win where older colour tables disagree.
TEST(Colours, ReadsHexDecimalAndCssNames) {
    const std::pair<const char*, Rgb> colours[] = {
        {"#ff00FF", {255, 0, 255}},
        {"0cC828", {12, 200, 40}},
        {"12,200,40", {12, 200, 40}},
        {"123456", {0x12, 0x34, 0x56}}, // six digits are hex
        {"rgb(255,0,255)", {255, 0, 255}},
        {"magenta", {255, 0, 255}},
        {"GRAY", {128, 128, 128}},
        {"grey", {128, 128, 128}},
        {"lightslategray", {119, 136, 153}},
        {"rebeccapurple", {102, 51, 153}},
        {"#f0f", {255, 0, 255}}, // CSS's short form
    };
    for (const auto& [text, colour] : colours) {
        EXPECT_EQ(parseColour(text), colour) << text;
    }
    EXPECT_EQ(parseColourPair("magenta=rgb(12,200,40)"),
              (ColourPair{{255, 0, 255}, {12, 200, 40}}));
    EXPECT_EQ(parseColourPair("#000=fff"), (ColourPair{{0, 0, 0}, {255, 255, 255}}));
}

TEST(Colours, RejectsAnythingElse) {
    for (const char* text :
         {"",           "#",        "ff00f",        "#ff00ff0",    "##ff00ff",      "gg0000",
          "0x1234",     "#-1ffff",  "+1ffff",       "256,0,0",     "1,2",           "1,2,3,4",
          "-1,2,3",     "+1,2,3",   "1,,3",         "1 2,3,4",     "1,2,3,",        "ff 00 ff",
          "magent",     "magentas", " magenta",     "#magenta",    "transparent",   "rgb(1,2,3",
          "rgb 1,2,3)", "rgb(1,2)", "rgb(256,0,0)", "rgb(1,2,3))", "rgba(1,2,3,4)", "rgb(ff,00,ff)",
          "rgb()",      "#f0f0",    "#ff00ff80",    "f0f0",        "#f0g",          "#-1f",
          "#f0 "}) { // no form of any length with an alpha part: no colour here has one
        EXPECT_FALSE(parseColour(text)) << text;
    }
}

} // namespace pixtint
