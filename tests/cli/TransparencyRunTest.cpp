// SPDX-License-Identifier: MIT
// pixtint-convert with 'transparent' as the new colour: what it writes, what it reports before
// and after, what it refuses, and the corpus through it. Qt's reader checks the pixels.

#include "engine/BmpHeader.h"
#include "scan/FolderScan.h"
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>

namespace pixtint {

namespace {

namespace fs = std::filesystem;
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

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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

// Every file the run converts has its original as its backup and is a 32-bit picture with an
// alpha mask; every file it does not convert is left as it was.
TEST(TransparencyRun, TheCorpusIsConvertedOrLeftAlone) {
    TestFolder folder;
    const fs::path copy = folder / "corpus";
    fs::copy(PIXTINT_CORPUS_DIR, copy, fs::copy_options::recursive);
    fs::permissions(copy, fs::perms::owner_all, fs::perm_options::add);
    std::set<fs::path> pictures;
    for (const auto& entry : fs::recursive_directory_iterator(copy)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        if (matchesWildcard(entry.path().filename().string(), "*.bmp")) {
            pictures.insert(entry.path());
        }
    }
    const auto run = runConvert({"--json", "-r", "-m", "000000=transparent", "-m",
                                 "ffffff=transparent", "-g", "top", copy.string()});
    ASSERT_TRUE(run.exitStatus == 0 || run.exitStatus == 1) << "signal " << run.signal;
    std::set<fs::path> reported;
    int converted = 0;
    for (const auto& line : linesOf(run.out)) {
        SCOPED_TRACE(line);
        const auto object = nlohmann::json::parse(line);
        const fs::path path = object["path"].get<std::string>();
        const auto original = fs::path(PIXTINT_CORPUS_DIR) / path.lexically_relative(copy);
        const auto backup = fs::path(path).replace_extension(".bak");
        reported.insert(path);
        if (object["status"] != "converted") {
            EXPECT_EQ(contentOf(path), contentOf(original));
            EXPECT_FALSE(fs::exists(backup));
            continue;
        }
        ++converted;
        EXPECT_EQ(contentOf(backup), contentOf(original));
        const std::string now = contentOf(path);
        const Bytes head(now.begin(), now.begin() + std::min<std::size_t>(now.size(), 70));
        ASSERT_EQ(head.size(), 70u);
        EXPECT_EQ(field(head, 2), now.size()) << "file size field";
        EXPECT_EQ(head[28], 32);
        EXPECT_NE(field(head, 66), 0u) << "alpha mask";
        if (object.contains("change")) {
            EXPECT_EQ(field(head, 10), 138u);
            EXPECT_EQ(field(head, 14), 124u);
            EXPECT_EQ(field(head, 30), 3u);
        } else { // a 32-bit picture with alpha keeps its header
            EXPECT_EQ(now.substr(10, 8), contentOf(original).substr(10, 8));
        }
    }
    EXPECT_EQ(reported, pictures);
    EXPECT_GT(converted, 30);
}

} // namespace pixtint
