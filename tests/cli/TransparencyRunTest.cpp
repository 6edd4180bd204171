// SPDX-License-Identifier: MIT
// pixtint-convert with 'transparent' as the new colour: what it writes, what it reports before
// and after.

#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

const Pixel Magenta{255, 0, 255}, Grey{128, 128, 128};

// A 16 x 15 grey icon whose top-left pixel is magenta.
Bytes keyedIcon() {
    Bytes icon = makeBmp24(16, 15, Grey);
    setPixel(icon, 0, 0, Magenta);
    return icon;
}

} // namespace

// The dry run says what the run then does: the change of kind, before anything is written. A
// picture without the key is unchanged and keeps its kind.
TEST(TransparencyRun, AKeyedIconBecomes32BitWithAlphaUnderItsOwnNameAfterADryRunSaidSo) {
    TestFolder folder;
    folder.write("icon.bmp", keyedIcon());
    folder.write("grey.bmp", makeBmp24(16, 15, Grey));
    const auto dir = folder.path().string();
    const auto dry = runConvert({"-n", "--json", "-m", "FF00FF=Transparent", dir});
    const auto object = nlohmann::json::parse(linesOf(dry.out).at(1));
    EXPECT_EQ(object["status"], "converted");
    EXPECT_EQ(object["change"], "24-bit \u2192 32-bit with alpha");
    EXPECT_EQ(object["new_header"], "V5");
    EXPECT_EQ(object["pairs"][0]["to"], "transparent");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"grey.bmp", "icon.bmp"}));
    EXPECT_EQ(folder.read("icon.bmp"), keyedIcon());

    const auto run = runConvert({"-f", "magenta", "-t", "transparent", dir});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(linesOf(run.out).at(0),
              "unchanged      " + dir + "/grey.bmp  (24-bit, Windows 3 header, uncompressed)");
    EXPECT_NE(run.out.find("24-bit \u2192 32-bit with alpha; 1 pixel"), std::string::npos)
        << run.out;
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"grey.bmp", "icon.bak", "icon.bmp"}));
    EXPECT_EQ(folder.read("grey.bmp"), makeBmp24(16, 15, Grey));
    EXPECT_EQ(folder.read("icon.bak"), keyedIcon());
    EXPECT_NE(folder.read("icon.bmp"), keyedIcon()); // its bytes are the core's to prove
}

} // namespace pixtint
