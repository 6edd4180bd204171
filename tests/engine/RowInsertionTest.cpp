#include "AppError.h"
#include "BitmapRecolor.h"
#include "BmpBytes.h"
#include "EngineBytes.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

using namespace BitmapRecolor;

namespace {

constexpr Rgb Fill{0x30, 0x20, 0x10};
const Bytes FillRow = repeat({0x10, 0x20, 0x30}, 16);

Bytes distinctBytes(std::size_t count) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    }
    return bytes;
}

// The source's first bytes with the four header bytes set, cut or zero-padded to 774 bytes.
Bytes patchedPrefix(Bytes source) {
    source[2] = 0x36;
    source[22] = 16;
    source[34] = 0;
    source[35] = 3;
    source.resize(774, 0);
    return source;
}

// The byte-wise move carries header bytes 6..53 into the first row, which is then painted,
// so the result is the header, the new row and the 720 bytes from offset 54 on.
Bytes expectedResult(const Bytes& source, bool top) {
    const Bytes prefix = patchedPrefix(source);
    if (top) {
        return concat({prefix, FillRow});
    }
    return concat({Bytes(prefix.begin(), prefix.begin() + 54), FillRow,
                   Bytes(prefix.begin() + 54, prefix.end())});
}

struct InsertionCase {
    const char* name;
    std::size_t sourceLength;
    bool top;
};

class EngineRowInsertion : public ::testing::TestWithParam<InsertionCase> {};

TEST_P(EngineRowInsertion, Writes822Bytes) {
    const auto& insertion = GetParam();
    TestFolder folder;
    const Bytes original = distinctBytes(insertion.sourceLength);
    folder.write("icon.bmp", original);

    const auto written = MakeBitmap16x16(folder / "icon.bmp", insertion.top, Fill);

    EXPECT_EQ(written, folder / "icon.tmp");
    EXPECT_EQ(folder.read("icon.tmp"), expectedResult(original, insertion.top));
    EXPECT_EQ(folder.read("icon.bmp"), original);
}

INSTANTIATE_TEST_SUITE_P(, EngineRowInsertion,
                         ::testing::Values(InsertionCase{"Standard774Top", 774, true},
                                           InsertionCase{"Standard774Bottom", 774, false},
                                           InsertionCase{"Longer900Top", 900, true},
                                           InsertionCase{"Longer900Bottom", 900, false},
                                           InsertionCase{"Shorter40Top", 40, true},
                                           InsertionCase{"Shorter40Bottom", 40, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineRowInsertionHeader, PatchesFileSizeLowByteAndPixelDataSize) {
    TestFolder folder;
    Bytes picture = makeBmp24(16, 15, Pixel{1, 2, 3});
    picture[34] = picture[35] = 0; // a pixel-data size of 0 is allowed in the format
    picture[2] = 0x99;             // a wrong file size keeps its upper bytes
    folder.write("h.bmp", picture);

    MakeBitmap16x16(folder / "h.bmp", true, Fill);

    const Bytes result = folder.read("h.tmp");
    EXPECT_EQ(Bytes(result.begin() + 2, result.begin() + 6), (Bytes{0x36, 0x03, 0, 0}));
    EXPECT_EQ(Bytes(result.begin() + 22, result.begin() + 26), (Bytes{16, 0, 0, 0}));
    EXPECT_EQ(Bytes(result.begin() + 34, result.begin() + 38), (Bytes{0x00, 0x03, 0, 0}));
}

TEST(EngineRowInsertionHeader, ShortSourceThrows9AndWritesNothing) {
    TestFolder folder;
    folder.write("s.bmp", distinctBytes(35));
    try {
        MakeBitmap16x16(folder / "s.bmp", false, Fill);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), ErrorNumber::SubscriptOutOfRange);
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"s.bmp"});
}

} // namespace
