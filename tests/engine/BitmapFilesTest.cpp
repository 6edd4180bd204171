#include "engine/BitmapRecolor.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

// The answer of IsBitmap24Bit (1 or 0), or the number of the error it threw.
int answerFor(const std::filesystem::path& path) {
    int answer = 0;
    const int error = errorNumberOf([&] { answer = IsBitmap24Bit(path) ? 1 : 0; });
    return error != 0 ? error : answer;
}

Bytes withBitCount(std::size_t length, std::uint8_t byte28, std::uint8_t byte29 = 0) {
    Bytes bytes(length, 0xAA);
    bytes[28] = byte28;
    if (length > 29) {
        bytes[29] = byte29;
    }
    return bytes;
}

// Nothing but byte 28 counts: these files have no signature and no sensible header.
TEST(EngineIsBitmap24Bit, LooksAtByte28Only) {
    const struct {
        Bytes bytes;
        int answer;
    } cases[] = {{withBitCount(54, 24), 1},
                 {withBitCount(54, 0x18, 0x01), 1},
                 {withBitCount(54, 32), 0},
                 {withBitCount(29, 24), 1},
                 {Bytes(28, 24), ErrorNumber::InputPastEndOfFile}};
    TestFolder folder;
    for (const auto& [bytes, answer] : cases) {
        folder.write("b.bmp", bytes);
        EXPECT_EQ(answerFor(folder / "b.bmp"), answer) << bytes.size() << " bytes";
    }
    std::filesystem::create_directory(folder / "sub.bmp");
    EXPECT_EQ(answerFor(folder / "sub.bmp"), ErrorNumber::PathFileAccessError);
    EXPECT_EQ(answerFor(folder / "missing.bmp"), ErrorNumber::FileNotFound);
}

TEST(EngineBitmapNames, ReplaceTheLastThreeBytes) {
    EXPECT_EQ(TemporaryPathFor("/pics/A.BMP"), "/pics/A.tmp");
    EXPECT_EQ(BackupPathFor("/pics/a.bmp"), "/pics/a.bak");
    EXPECT_EQ(TemporaryPathFor("abc"), "tmp");
    EXPECT_EQ(TemporaryPathFor("/p/\xff\xfe.bmp"), "/p/\xff\xfe.tmp");
    EXPECT_THROW(TemporaryPathFor("ab"), AppError);
    EXPECT_THROW(BackupPathFor(""), AppError);
}

} // namespace

} // namespace pixtint
