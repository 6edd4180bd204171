#include "AppError.h"
#include "BitmapRecolor.h"
#include "EngineBytes.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

using namespace BitmapRecolor;

namespace {

constexpr int True = 1;
constexpr int False = 0;

// The answer of IsBitmap24Bit, or the number of the error it threw.
int answerFor(const std::filesystem::path& path) {
    try {
        return IsBitmap24Bit(path) ? True : False;
    } catch (const AppError& error) {
        return error.number();
    }
}

struct BitCountCase {
    const char* name;
    Bytes bytes;
    int answer;
};

class EngineIsBitmap24Bit : public ::testing::TestWithParam<BitCountCase> {};

// Nothing but byte 28 counts: these files have no signature and no sensible header.
TEST_P(EngineIsBitmap24Bit, LooksAtByte28Only) {
    TestFolder folder;
    folder.write("b.bmp", GetParam().bytes);
    EXPECT_EQ(answerFor(folder / "b.bmp"), GetParam().answer);
}

Bytes withBitCount(std::size_t length, std::uint8_t byte28, std::uint8_t byte29) {
    Bytes bytes(length, 0xAA);
    bytes[28] = byte28;
    if (length > 29) {
        bytes[29] = byte29;
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    , EngineIsBitmap24Bit,
    ::testing::Values(BitCountCase{"TwentyFour", withBitCount(54, 24, 0), True},
                      BitCountCase{"Stored0x0118", withBitCount(54, 0x18, 0x01), True},
                      BitCountCase{"ThirtyTwo", withBitCount(54, 32, 0), False},
                      BitCountCase{"Eight", withBitCount(54, 8, 0), False},
                      BitCountCase{"Exactly29Bytes", withBitCount(29, 24, 0), True},
                      BitCountCase{"Only28Bytes", Bytes(28, 24), 62},
                      BitCountCase{"Empty", {}, 62}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineIsBitmap24BitFailures, NameTheUnreadableEntry) {
    TestFolder folder;
    std::filesystem::create_directory(folder / "sub.bmp");
    EXPECT_EQ(answerFor(folder / "sub.bmp"), ErrorNumber::PathFileAccessError);
    EXPECT_EQ(answerFor(folder / "missing.bmp"), ErrorNumber::FileNotFound);
    EXPECT_EQ(answerFor(folder / "gone" / "x.bmp"), ErrorNumber::PathNotFound);
}

TEST(EngineBitmapNames, ReplaceTheLastThreeBytes) {
    EXPECT_EQ(TemporaryPathFor("/pics/a.bmp"), "/pics/a.tmp");
    EXPECT_EQ(TemporaryPathFor("/pics/A.BMP"), "/pics/A.tmp");
    EXPECT_EQ(BackupPathFor("/pics/a.bmp"), "/pics/a.bak");
    EXPECT_EQ(TemporaryPathFor("abc"), "tmp");
    EXPECT_EQ(TemporaryPathFor("/p/\xff\xfe.bmp"), "/p/\xff\xfe.tmp");
    EXPECT_THROW(TemporaryPathFor("ab"), AppError);
    EXPECT_THROW(BackupPathFor(""), AppError);
}

TEST(EngineColorBytes, SplitRedGreenBlueAndIgnoreTheTopByte) {
    constexpr ColorValue color = 0x7F112233;
    EXPECT_EQ(ColorToRgb(color), (Rgb{0x33, 0x22, 0x11}));
    EXPECT_EQ(ColorToBlue(color), 0x11);
    EXPECT_EQ(RgbToColor(Rgb{0x33, 0x22, 0x11}), 0x00112233);
}

} // namespace
