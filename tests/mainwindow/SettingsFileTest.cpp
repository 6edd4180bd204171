// SPDX-License-Identifier: MIT
#include "mainwindow/SettingsFile.h"

#include "mainwindow/ErrorMessages.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

TEST(SettingsFileLines, EndInCrLfOrLineFeedAndTheLastNeedsNoEnding) {
    EXPECT_EQ(SettingsFile::splitLines("a b\r\n\r\nc\n d\r"), (QStringList{"a b", "", "c", " d"}));
    EXPECT_EQ(SettingsFile::splitLines("a\r\r\n"), QStringList{"a\r"});
}

TEST(SettingsFileValues, ReadBlanksSignsLimitsAndTruthValuesInAnyCase) {
    using namespace SettingsFile;
    EXPECT_EQ(parseLong(" -2147483648 "), INT32_MIN);
    EXPECT_EQ(parseLong("\t+2147483647"), INT32_MAX);
    EXPECT_EQ(parseInteger("-32768"), -32768);
    for (const char* text : {"", " ", "1.5", "1 2", "0x10", "-", "+-1"}) {
        EXPECT_THROW(parseLong(text), WindowError) << text;
    }
    for (const char* text : {"2147483648", "-2147483649", "99999999999999999999999"}) {
        try {
            parseLong(text);
            ADD_FAILURE() << text;
        } catch (const WindowError& error) {
            EXPECT_EQ(error.number(), MessageNumber::Overflow) << text;
        }
    }
    EXPECT_TRUE(parseBoolean("tRUE"));
    EXPECT_FALSE(parseBoolean(" FALSE "));
    EXPECT_FALSE(parseBoolean("000"));
    EXPECT_TRUE(parseBoolean("-1"));
    EXPECT_TRUE(parseBoolean("100000000000000000000"));
    EXPECT_THROW(parseBoolean(""), WindowError);
}

} // namespace

} // namespace pixtint
