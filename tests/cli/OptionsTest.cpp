// SPDX-License-Identifier: MIT
#include "cli/Options.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

EarlyExit earlyExitOf(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "pixtint-convert");
    const auto parsed = parseCommandLine(arguments);
    const auto* early = std::get_if<EarlyExit>(&parsed);
    return early != nullptr ? *early : EarlyExit{-1, {}, {}};
}

} // namespace

// Two pairs for one colour, however each was written, would leave the second unused: the
// message names both as typed. Different colours within the tolerance of each other are fine.
TEST(Options, TwoPairsThatReplaceOneColourAreAUsageError) {
    const auto both = earlyExitOf({"-m", "navy=red", "-m", "0,0,128=blue", "icons"});
    EXPECT_EQ(both.status, ExitStatus::UsageError);
    EXPECT_NE(both.error.find("--map 'navy=red' and --map '0,0,128=blue' both replace #000080"),
              std::string::npos)
        << both.error;
    const auto fromTo = earlyExitOf({"-m", "1,2,3=red", "-f", "#010203", "-t", "lime", "x.bmp"});
    EXPECT_EQ(fromTo.status, ExitStatus::UsageError);
    EXPECT_NE(fromTo.error.find("--from '#010203' and --map '1,2,3=red'"), std::string::npos)
        << fromTo.error;
    const auto alpha = earlyExitOf({"-m", "#ff00ff80=red", "x.bmp"});
    EXPECT_NE(alpha.error.find("'#ff00ff80' given to --map is not a colour: colours here have "
                               "no alpha part"),
              std::string::npos)
        << alpha.error;

    const char* const near[] = {"pixtint-convert", "--tolerance", "8",           "-m",
                                "000080=red",      "-m",          "000081=blue", "icons"};
    const auto parsed = parseCommandLine(near);
    ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed));
    EXPECT_EQ(std::get<CliOptions>(parsed).request.pairs.size(), 2u);
}

} // namespace pixtint
