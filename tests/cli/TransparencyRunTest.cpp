// SPDX-License-Identifier: MIT
// pixtint-convert with 'transparent' as the new colour: what it writes, what it reports before
// and after, and what it refuses.

#include "engine/BmpHeader.h"
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

const Pixel Magenta{255, 0, 255}, Grey{128, 128, 128};

std::uint32_t field(const Bytes& bytes, std::size_t at) {
    return BmpHeader::readUnsigned(bytes.data(), at, 4);
}

// A 16 x 15 grey icon whose top-left pixel is magenta.
Bytes keyedIcon() {
    Bytes icon = makeBmp24(16, 15, Grey);
    setPixel(icon, 0, 0, Magenta);
    return icon;
}

// The pixel at column x of stored row `row` of a 32-bit picture 16 wide behind a V5 header.
Bytes pixelAt(const Bytes& picture, int x, int row) {
    const std::size_t at = 138 + (std::size_t{16} * row + x) * 4;
    return {picture.begin() + static_cast<std::ptrdiff_t>(at),
            picture.begin() + static_cast<std::ptrdiff_t>(at + 4)};
}

} // namespace

// The dry run says what the run then does: the change of kind, before anything is written.
TEST(TransparencyRun, AKeyedIconBecomes32BitWithAlphaUnderItsOwnNameAfterADryRunSaidSo) {
    TestFolder folder;
    folder.write("icon.bmp", keyedIcon());
    const auto dry =
        runConvert({"-n", "--json", "-m", "FF00FF=Transparent", folder.path().string()});
    const auto object = nlohmann::json::parse(linesOf(dry.out).at(0));
    EXPECT_EQ(object["status"], "converted");
    EXPECT_EQ(object["change"], "24-bit \u2192 32-bit with alpha");
    EXPECT_EQ(object["new_header"], "V5");
    EXPECT_EQ(object["pairs"][0]["to"], "transparent");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"icon.bmp"}));
    EXPECT_EQ(folder.read("icon.bmp"), keyedIcon());

    const auto run = runConvert({"-f", "magenta", "-t", "transparent", folder.path().string()});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("24-bit \u2192 32-bit with alpha; 1 pixel"), std::string::npos)
        << run.out;
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"icon.bak", "icon.bmp"}));
    EXPECT_EQ(folder.read("icon.bak"), keyedIcon());
    const Bytes picture = folder.read("icon.bmp");
    ASSERT_EQ(picture.size(), 138u + 16 * 15 * 4);
    EXPECT_EQ(field(picture, 14), 124u);
    EXPECT_EQ(picture[28], 32);
    EXPECT_EQ(field(picture, 66), 0xFF000000u);
    EXPECT_EQ(pixelAt(picture, 0, 14), (Bytes{0, 0, 0, 0})); // the top row is stored last
    EXPECT_EQ(pixelAt(picture, 1, 14), (Bytes{128, 128, 128, 255}));
}

TEST(TransparencyRun, APictureWithoutTheKeyIsUnchangedAndKeepsItsKind) {
    TestFolder folder;
    folder.write("grey.bmp", makeBmp24(16, 15, Grey));
    const auto run = runConvert({"-f", "magenta", "-t", "transparent", folder.path().string()});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out.find("32-bit"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("unchanged"), std::string::npos);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"grey.bmp"}));
}

TEST(TransparencyRun, OnlyTheNewColourCanBeTransparent) {
    TestFolder folder;
    folder.write("icon.bmp", keyedIcon());
    for (const auto& arguments : {std::vector<std::string>{"-f", "transparent", "-t", "red"},
                                  std::vector<std::string>{"-m", "transparent=red"}}) {
        const auto run = runConvert(with(arguments, {folder.path().string()}));
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.err.find("transparent"), std::string::npos) << run.err;
    }
    EXPECT_EQ(folder.read("icon.bmp"), keyedIcon());
}

} // namespace pixtint
