#include "cli/Options.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace pixtint {

namespace {

std::variant<CliOptions, EarlyExit> parse(const std::vector<const char*>& arguments) {
    std::vector<const char*> argv{"pixtint-convert"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return parseCommandLine(argv);
}

CliOptions options(std::initializer_list<const char*> arguments) {
    auto parsed = parse(arguments);
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        ADD_FAILURE() << "refused: " << early->error;
        return {};
    }
    return std::get<CliOptions>(parsed);
}

const Rgb Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255}, White{255, 255, 255};

} // namespace

TEST(CommandLine, TakesFromToFirstThenEachMapInOrder) {
    const auto parsed = options({"-m", "ff0000=00ff00", "icons", "-f", "0000ff", "--to",
                                 "255,255,255", "--map=#00ff00=#0000ff", "more"});
    EXPECT_EQ(parsed.request.pairs,
              (std::vector<ColourPair>{{Blue, White}, {Red, Green}, {Green, Blue}}));
    EXPECT_EQ(parsed.paths, (std::vector<std::string>{"icons", "more"}));
    EXPECT_EQ(parsed.request.tolerance, 0);
    EXPECT_TRUE(parsed.request.everyKind);
    EXPECT_EQ(options({"-m", "ff0000=00ff00", "--tolerance", "255", "icons"}).request.tolerance,
              255);
}

TEST(CommandLine, UsageErrorsSayWhatWasWrongAndDoNothing) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"-f", "ff0000", "-t", "00ff00"}, "no PATH"},
        {{"icons"}, "no colour pair"},
        {{"-f", "ff0000", "icons"}, "--from needs --to"},
        {{"-f", "reddish", "-t", "00ff00", "icons"}, "'reddish'"},
        {{"-m", "ff0000", "icons"}, "'ff0000' given to --map"},
        {{"-m", "ff0000=00ff00", "-g", "left", "icons"}, "--grow"},
        {{"-m", "ff0000=00ff00", "--colour", "icons"}, "--colour"},
        {{"--restore", "-m", "ff0000=00ff00", "icons"}, "--restore takes no"},
        {{"--restore", "--tolerance", "3", "icons"}, "--restore takes no"},
        {{"-m", "ff0000=00ff00", "--tolerance", "256", "icons"}, "--tolerance"},
        {{"-m", "ff0000=00ff00", "--tolerance", "-1", "icons"}, "--tolerance"},
    };
    for (const auto& [arguments, message] : cases) {
        const auto parsed = parse(arguments);
        ASSERT_TRUE(std::holds_alternative<EarlyExit>(parsed)) << message;
        const auto& early = std::get<EarlyExit>(parsed);
        EXPECT_EQ(early.status, 2) << message;
        EXPECT_TRUE(early.output.empty()) << message;
        EXPECT_NE(early.error.find(message), std::string::npos) << early.error;
    }
}

TEST(Colours, ReadsHexWithOrWithoutHashInEitherCaseAndDecimalTriples) {
    EXPECT_EQ(parseColour("#ff00FF"), (Rgb{255, 0, 255}));
    EXPECT_EQ(parseColour("0cC828"), (Rgb{12, 200, 40}));
    EXPECT_EQ(parseColour("12,200,40"), (Rgb{12, 200, 40}));
    EXPECT_EQ(parseColour(" 0 , 255 ,007"), (Rgb{0, 255, 7}));
    EXPECT_EQ(parseColour("123456"), (Rgb{0x12, 0x34, 0x56})); // six digits are hex
    EXPECT_EQ(parseColour("rgb(255,0,255)"), (Rgb{255, 0, 255}));
    EXPECT_EQ(parseColour("RGB( 12, 200 ,40 )"), (Rgb{12, 200, 40}));
}

TEST(Colours, ReadsEveryCssNameInAnyCaseWithTheCssValues) {
    EXPECT_EQ(parseColour("magenta"), (Rgb{255, 0, 255}));
    EXPECT_EQ(parseColour("Silver"), (Rgb{192, 192, 192}));
    // Where CSS and older colour tables disagree, CSS wins.
    EXPECT_EQ(parseColour("green"), (Rgb{0, 128, 0}));
    EXPECT_EQ(parseColour("GRAY"), (Rgb{128, 128, 128}));
    EXPECT_EQ(parseColour("darkslategrey"), parseColour("darkslategray"));
    // The first and the last of the table, and the one added after the others.
    EXPECT_EQ(parseColour("aliceblue"), (Rgb{240, 248, 255}));
    EXPECT_EQ(parseColour("yellowgreen"), (Rgb{154, 205, 50}));
    EXPECT_EQ(parseColour("rebeccapurple"), (Rgb{102, 51, 153}));
    EXPECT_EQ(parseColourPair("magenta=rgb(12,200,40)"),
              (ColourPair{{255, 0, 255}, {12, 200, 40}}));
}

TEST(Colours, RejectsAnythingElse) {
    for (const char* text :
         {"",           "#",        "ff00f",        "#ff00ff0",    "##ff00ff",      "gg0000",
          "0x1234",     "#-1ffff",  "+1ffff",       "256,0,0",     "1,2",           "1,2,3,4",
          "-1,2,3",     "+1,2,3",   "1,,3",         "1 2,3,4",     "1,2,3,",        "ff 00 ff",
          "magent",     "magentas", " magenta",     "#magenta",    "transparent",   "rgb(1,2,3",
          "rgb 1,2,3)", "rgb(1,2)", "rgb(256,0,0)", "rgb(1,2,3))", "rgba(1,2,3,4)", "rgb(ff,00,ff)",
          "rgb()"}) {
        EXPECT_FALSE(parseColour(text)) << text;
    }
}

TEST(Colours, ReadsAPairAroundItsEqualsSign) {
    EXPECT_EQ(parseColourPair("#0000ff=255,0,0"), (ColourPair{{0, 0, 255}, {255, 0, 0}}));
    for (const char* text :
         {"0000ff", "0000ff=", "=ff0000", "0000ff=ff0000=00ff00", "0000ff:ff0000"}) {
        EXPECT_FALSE(parseColourPair(text)) << text;
    }
}

} // namespace pixtint
