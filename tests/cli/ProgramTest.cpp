// SPDX-License-Identifier: MIT
#include "tests/cli/ConvertProgram.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

const Pixel Magenta{255, 0, 255}, Green{12, 200, 40}, Grey{128, 128, 128};
const std::vector<std::string> MagentaToGreen{"-f", "#ff00ff", "-t", "12,200,40"};

Bytes greyWithMagentaAt(std::initializer_list<std::pair<int, int>> pixels, Pixel colour = Magenta) {
    Bytes bytes = makeBmp24(8, 8, Grey);
    for (const auto& [x, y] : pixels) {
        setPixel(bytes, x, y, colour);
    }
    return bytes;
}

} // namespace

TEST(Program, ConvertsEachFileAsTheWindowWouldAndSaysSoLineByLine) {
    TestFolder folder;
    Bytes unsigned24 = makeBmp24(2, 2, Magenta);
    unsigned24[0] = 'X';
    Bytes icon = makeBmp24(16, 15, Magenta);
    setPixel(icon, 0, 0, Grey); // the top row tells the grown one from it
    folder.write("a.bmp", icon);
    folder.write("b.BMP", greyWithMagentaAt({{0, 0}, {7, 7}, {3, 4}}));
    folder.write("same.bmp", makeBmp24(4, 4, Grey));
    folder.write("eight.bmp", makeBmpWithBitCount(4, 4, 8));
    folder.write("fake.bmp", unsigned24);
    folder.write("notes.txt", {'h', 'i'});
    folder.write("named.dat", makeBmp24(2, 2, Magenta));

    const auto dir = folder.path().string();
    const auto run = runConvert(with(MagentaToGreen, {"-g", "top", dir, dir + "/named.dat"}));

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out,
              report(dir, R"(converted      DIR/a.bmp  (PLAIN; 239 pixels; grown to 16 x 16)
converted      DIR/b.BMP  (PLAIN; 3 pixels)
unchanged      DIR/eight.bmp  (EIGHT)
skipped        DIR/fake.bmp  (not a BMP file)
unchanged      DIR/same.bmp  (PLAIN)
converted      DIR/named.dat  (PLAIN; 4 pixels)
3 converted, 2 unchanged, 1 skipped
)"));
    EXPECT_EQ(run.err, "");
    // The colours and the side asked for reach the conversion; its bytes are the core's.
    Bytes grown = makeBmp24(16, 16, Green);
    setPixel(grown, 0, 1, Grey);
    EXPECT_EQ(folder.read("a.bmp"), grown);
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"a.bak", "a.bmp", "b.BMP", "b.bak", "eight.bmp", "fake.bmp",
                                        "named.bak", "named.dat", "notes.txt", "same.bmp"}));
}

TEST(Program, ADryRunWritesNothingAndRestoreUndoesARun) {
    TestFolder folder;
    const Bytes icon = makeBmp24(16, 15, Magenta);
    folder.write("a.bmp", icon);
    folder.write("b.bmp", makeBmp24(4, 4, Grey));
    const auto dir = folder.path().string();
    const auto names = folder.names();

    const auto dry = runConvert(with(MagentaToGreen, {"-n", "-g", "bottom", dir}));
    EXPECT_EQ(dry.exitStatus, 0);
    EXPECT_EQ(dry.out,
              report(dir, R"(would convert  DIR/a.bmp  (PLAIN; 240 pixels; grown to 16 x 16)
unchanged      DIR/b.bmp  (PLAIN)
1 to convert, 1 unchanged (dry run: nothing written)
)"));
    EXPECT_EQ(folder.names(), names);
    EXPECT_EQ(folder.read("a.bmp"), icon);

    // Quiet: the summary only, and a failure on standard error, which fails the run.
    const auto quiet = runConvert(with(MagentaToGreen, {"-q", dir + "/gone.bmp", dir}));
    EXPECT_EQ(quiet.exitStatus, 1);
    EXPECT_EQ(quiet.out, "1 converted, 1 unchanged, 1 failed\n");
    EXPECT_EQ(quiet.err, "pixtint-convert: " + dir + "/gone.bmp: no such file or directory\n");
    EXPECT_NE(folder.read("a.bmp"), icon);
    EXPECT_EQ(runConvert({"--restore", "-n", dir}).out, report(dir, R"(would restore  DIR/a.bmp
skipped        DIR/b.bmp  (no backup)
1 to restore, 1 skipped (dry run: nothing written)
)"));

    const auto restore = runConvert({"--restore", dir});
    EXPECT_EQ(restore.exitStatus, 0);
    EXPECT_EQ(linesOf(restore.out).at(0), "restored       " + dir + "/a.bmp");
    EXPECT_EQ(folder.read("a.bmp"), icon);
    EXPECT_EQ(folder.names(), names);

    EXPECT_EQ(runConvert(with(MagentaToGreen, {"--no-backup", dir})).exitStatus, 0);
    EXPECT_EQ(folder.names(), names);
}

TEST(Program, JsonGivesOneObjectPerFileEvenForNamesThatAreNotUtf8) {
    TestFolder folder;
    Bytes icon = makeBmp24(16, 15, Magenta);
    setPixel(icon, 3, 2, Grey);
    folder.write("a.bmp", icon);
    folder.write("caf\xe9.bmp", makeBmp24(2, 2, Green));
    folder.write("sixteen.bmp", makeBmpWithBitCount(4, 4, 16));
    const auto dir = folder.path().string();

    // --from and --to make the first pair wherever they stand; each pair counts the pixels of
    // its own original colour.
    const auto run = runConvert({"--json", "-m", "808080=ff00ff", "-f", "ff00ff", "-t", "0cc828",
                                 "--tolerance", "0", "-g", "bottom", dir, dir + "/gone.bmp"});
    EXPECT_EQ(run.exitStatus, 1);
    std::vector<nlohmann::json> objects;
    for (const auto& line : linesOf(run.out)) {
        objects.push_back(nlohmann::json::parse(line)); // throws on a line that is not JSON
    }
    ASSERT_EQ(objects.size(), 4u) << run.out;
    const auto pair = [](const char* from, const char* to, int pixels) {
        return nlohmann::json{{"from", from}, {"to", to}, {"pixels", pixels}, {"near_misses", 0}};
    };
    EXPECT_EQ(
        objects[0],
        (nlohmann::json{{"path", dir + "/a.bmp"},
                        {"status", "converted"},
                        {"bits", 24},
                        {"header", "Windows 3"},
                        {"compression", "none"},
                        {"pixels", 240},
                        {"near_misses", 0},
                        {"pairs", {pair("#ff00ff", "#0cc828", 239), pair("#808080", "#ff00ff", 1)}},
                        {"grown", true}}));
    EXPECT_EQ(objects[1]["path"], dir + "/caf\xEF\xBF\xBD.bmp");
    EXPECT_EQ(objects[2], (nlohmann::json{{"path", dir + "/sixteen.bmp"},
                                          {"status", "skipped"},
                                          {"reason", "16-bit picture"}}));
    EXPECT_EQ(objects[3], (nlohmann::json{{"path", dir + "/gone.bmp"},
                                          {"status", "failed"},
                                          {"error", "no such file or directory"}}));
}

// Toolbar bitmaps of every kind: the report says what each is and what would change, or why
// not (a read-only picture too, in a dry run as well), the dry run writes nothing, and the run
// counts the pixels the tolerance takes in.
TEST(Program, ConvertsEveryKindOfToolbarBitmapAndReportsEachFirst) {
    TestFolder folder;
    const Pixel Fringe{250, 3, 250}; // within 5 of magenta
    const BmpRecipe rle{.bitCount = 4,
                        .compression = 2,
                        .palette = {Magenta, Grey},
                        .pixels = {16, 0x01, 0, 0, 0, 1}};
    const BmpRecipe full{.bitCount = 1, .palette = {Grey, Grey}, .pixels = Bytes(60, 0x0f)};
    BmpRecipe alpha{.bitCount = 32, .headerSize = 124, .compression = 3};
    for (int i = 0; i < 16 * 15; ++i) {
        alpha.pixels.insert(alpha.pixels.end(), {255, 0, 255, static_cast<std::uint8_t>(i)});
    }
    Bytes fringe = makeBmp24(4, 4, Grey);
    setPixel(fringe, 0, 0, Magenta);
    setPixel(fringe, 1, 0, Fringe);
    folder.write("alpha.bmp", makeBmp(alpha));
    folder.write("fringe.bmp", fringe);
    folder.write("full.bmp", makeBmp(full));
    folder.write("rle.bmp", makeBmp(rle));
    folder.write("sixteen.bmp", makeBmpWithBitCount(4, 4, 16));
    const Bytes icon = makeBmp24(16, 15, Magenta);
    folder.write("short.bmp", Bytes(icon.begin(), icon.end() - 48));
    Bytes zeroWide = icon;
    std::fill(zeroWide.begin() + 18, zeroWide.begin() + 22, 0);
    folder.write("zero.bmp", zeroWide);
    folder.write("ro.bmp", icon);
    std::filesystem::permissions(folder / "ro.bmp", std::filesystem::perms(0444));
    const auto dir = folder.path().string();
    const auto names = folder.names();

    const auto dry = runConvert(with(MagentaToGreen, {"-n", "-g", "top", dir + "/"}));
    EXPECT_EQ(dry.exitStatus, 1);
    EXPECT_EQ(
        dry.out,
        report(
            dir,
            R"(would convert  DIR/alpha.bmp  (32-bit, V5 header, bit fields; 240 pixels; grown to 16 x 16)
would convert  DIR/fringe.bmp  (PLAIN; 1 pixel; 1 near miss)
failed         DIR/full.bmp  (no palette entry for the new row's colour)
would convert  DIR/rle.bmp  (4-bit, Windows 3 header, RLE4; 8 pixels in 1 entry; grown to 16 x 16)
failed         DIR/ro.bmp  (read-only file)
failed         DIR/short.bmp  (truncated picture)
skipped        DIR/sixteen.bmp  (16-bit picture)
skipped        DIR/zero.bmp  (invalid picture width)
3 to convert, 2 skipped, 3 failed (dry run: nothing written)
)"));
    EXPECT_EQ(folder.names(), names);

    const auto run = runConvert(with(MagentaToGreen, {"--tolerance", "5", "-g", "top", dir}));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.out.find(report(dir, "fringe.bmp  (PLAIN; 2 pixels)")), std::string::npos)
        << run.out;
}

// 'transparent' as the new colour: the dry run says the change of kind before anything is
// written, and the run makes it under the file's own name; a picture without the key keeps
// its kind.
TEST(Program, TransparencyChangesTheKindAndTheDryRunSaysSoFirst) {
    TestFolder folder;
    folder.write("grey.bmp", makeBmp24(8, 8, Grey));
    folder.write("icon.bmp", greyWithMagentaAt({{0, 0}}));
    const auto dir = folder.path().string();
    const auto dry = runConvert({"-n", "--json", "-m", "FF00FF=Transparent", dir});
    const auto object = nlohmann::json::parse(linesOf(dry.out).at(1));
    EXPECT_EQ(object["status"], "would_convert");
    EXPECT_EQ(object["change"], "24-bit \u2192 32-bit with alpha");
    EXPECT_EQ(object["new_header"], "V5");
    EXPECT_EQ(object["pairs"][0]["to"], "transparent");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"grey.bmp", "icon.bmp"}));

    const auto run = runConvert({"-f", "magenta", "-t", "transparent", dir});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, report(dir, R"(unchanged      DIR/grey.bmp  (PLAIN)
converted      DIR/icon.bmp  (PLAIN; 24-bit → 32-bit with alpha; 1 pixel)
1 converted, 1 unchanged
)"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"grey.bmp", "icon.bak", "icon.bmp"}));
}

// Only the entries some pixel draws count: a swap of black and white in a picture whose
// table holds both, unused, changes no pixel and is reported unchanged.
TEST(Program, PaletteEntriesThatNoPixelDrawsAreNeitherCountedNorChanged) {
    TestFolder folder;
    const Pixel Black{0, 0, 0}, White{255, 255, 255};
    BmpRecipe open{.bitCount = 8, .palette = {Grey, Black, White}, .pixels = Bytes(16 * 15, 0)};
    BmpRecipe drawn = open;
    drawn.pixels[0] = drawn.pixels[1] = drawn.pixels[2] = 1; // black
    folder.write("open.bmp", makeBmp(open));
    folder.write("drawn.bmp", makeBmp(drawn));
    const auto dir = folder.path().string();

    const auto run = runConvert({"-m", "000000=ffffff", "-m", "ffffff=000000", dir});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(
        run.out,
        report(
            dir,
            R"(converted      DIR/drawn.bmp  (EIGHT; 3 pixels in 1 entry (#000000: 3, #ffffff: 0))
unchanged      DIR/open.bmp  (EIGHT)
1 converted, 1 unchanged
)"));
}

// Lines follow the arguments, and the names within each folder, whatever was found before
// the conversion started; a folder named like a picture is skipped, found or given.
TEST(Program, ReportsInTheOrderOfTheArgumentsAndTheNames) {
    TestFolder folder;
    std::filesystem::create_directories(folder / "one/dir.bmp");
    std::filesystem::create_directories(folder / "two");
    for (const char* name : {"one/a.bmp", "one/z.bmp", "one/dir.bmp/c.bmp", "two/b.bmp"}) {
        folder.write(name, makeBmp24(2, 2, Grey));
    }
    const auto dir = folder.path().string();
    // A folder named like a picture is skipped whether it is found or given, unless walked.
    const std::vector<std::string> paths{dir + "/one", dir + "/gone", dir + "/two",
                                         dir + "/one/dir.bmp/"};

    EXPECT_EQ(runConvert(with(MagentaToGreen, paths)).out,
              report(dir, R"(unchanged      DIR/one/a.bmp  (PLAIN)
skipped        DIR/one/dir.bmp  (a folder)
unchanged      DIR/one/z.bmp  (PLAIN)
failed         DIR/gone  (no such file or directory)
unchanged      DIR/two/b.bmp  (PLAIN)
skipped        DIR/one/dir.bmp/  (a folder)
3 unchanged, 2 skipped, 1 failed
)"));
}

TEST(Program, AUsageErrorSaysWhatWasWrongAndChangesNothing) {
    TestFolder folder;
    const Bytes icon = makeBmp24(2, 2, Magenta);
    folder.write("a.bmp", icon);
    const auto dir = folder.path().string();
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"-f", "ff0000", "-t", "00ff00"}, "PATH is required"},
        {{dir}, "no colour pair"},
        {{"-f", "reddish", "-t", "00ff00", dir}, "'reddish'"},
        {{"-m", "ff0000", dir}, "'ff0000' given to --map"},
        {{"-m", "ff0000=00ff00", "-g", "left", dir}, "--grow takes top or bottom, not 'left'"},
        {{"--restore", "-m", "ff0000=00ff00", dir}, "--restore takes no"},
        {{"-m", "ff0000=00ff00", "--tolerance", "256", dir},
         "--tolerance takes a whole number from 0 to 255, not '256'"},
        {{"-m", "ff0000=00ff00", "-j", "0", dir},
         "--jobs takes a whole number from 1 to 1024, not '0'"},
        {{"-f", "transparent", "-t", "red", dir}, "transparent"}, // only the new colour can be
    };
    for (const auto& [arguments, message] : cases) {
        const auto run = runConvert(arguments);
        EXPECT_EQ(run.exitStatus, 2) << message;
        EXPECT_EQ(run.out, "") << message;
        EXPECT_EQ(run.err.rfind("pixtint-convert: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.bmp"});
    EXPECT_EQ(folder.read("a.bmp"), icon);
}

} // namespace pixtint
