#include "engine/BitmapRecolor.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <climits>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

// The before colour as stored (blue, green, red), the after colour, and some other colour.
const Bytes B{1, 2, 3};
const Bytes A{7, 8, 9};
const Bytes X{5, 5, 5};
constexpr Rgb Before{3, 2, 1};
constexpr Rgb After{9, 8, 7};

// The engine takes the width from its caller and never reads the header, so any 54 bytes
// serve; these look like the before colour and must stay as they are.
Bytes withHeader(const Bytes& pixels) {
    return concat({B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, pixels});
}

// Padding that looks like the before colour is skipped, never compared. Look-alikes that
// straddle two pixels or match two bytes of three stay, in short rows and in long ones.
const Bytes LookAlikes = concat({{2, 3, 1}, {9, 1, 2}, {3, 9, 9}, {1, 2, 4}, X, {4, 2, 3}});
const Bytes LongRow = concat({B, LookAlikes, B, LookAlikes, B, LookAlikes, B, B, X, B});
const Bytes LongRowDone = concat({A, LookAlikes, A, LookAlikes, A, LookAlikes, A, A, X, A});

TEST(EngineReplaceColor, WritesTheRecoloredCopy) {
    const struct {
        std::int32_t width;
        Bytes pixels;   // everything after the header
        Bytes expected; // what the temporary file holds after the header
    } walks[] = {
        {1, concat({B, {1}, X, {1}, B, {1}}), concat({A, {1}, X, {1}, A, {1}})},
        {2, concat({B, B, {1, 2}, X, B, {1, 2}}), concat({A, A, {1, 2}, X, A, {1, 2}})},
        {3, concat({B, X, B, {1, 2, 3}}), concat({A, X, A, {1, 2, 3}})},
        {4, concat({B, X, B, B, B, X}), concat({A, X, A, A, A, X})},
        {25, concat({LongRow, {1}, LongRow, {1}, B}),
         concat({LongRowDone, {1}, LongRowDone, {1}, A})},
        // A partial pixel at the end of the file is copied as it is.
        {4, concat({B, B, {1, 2}}), concat({A, A, {1, 2}})},
        {4, {1, 2}, {1, 2}},
        // Offsets are 64-bit: the first row may be far longer than the file.
        {2'000'000'000, concat({B, X, B, {1}}), concat({A, X, A, {1}})},
    };
    TestFolder folder;
    for (const auto& walk : walks) {
        SCOPED_TRACE(testing::Message() << "width " << walk.width << ", " << walk.pixels.size());
        folder.write("p.bmp", withHeader(walk.pixels));

        ReplaceColor(folder / "p.bmp", walk.width, Before, After);

        EXPECT_EQ(folder.read("p.tmp"), withHeader(walk.expected));
        EXPECT_EQ(folder.read("p.bmp"), withHeader(walk.pixels));
    }
    // Equal colours still write the copy, and the copy may be its own source.
    folder.write("p.bmp", withHeader(concat({B, X, {0, 0}})));
    ReplaceColor(folder / "p.bmp", 2, Before, Before);
    EXPECT_EQ(folder.read("p.tmp"), folder.read("p.bmp"));
    ReplaceColor(folder / "p.tmp", 2, Before, After);
    EXPECT_EQ(folder.read("p.tmp"), withHeader(concat({A, X, {0, 0}})));
    EXPECT_EQ(folder.names().size(), 2u);
}

// Files larger than the engine's read chunk: pixels cut by a chunk boundary must be whole.
TEST(EngineReplaceColor, RecolorsEveryPixelAcrossReadChunks) {
    TestFolder folder;
    for (const int width : {1, 4, 5, 7, 1001}) {
        const int height = 3 * (1 << 20) / (width * 3) + 1;
        folder.write("big.bmp", makeBmp24(width, height, Pixel{3, 2, 1}));
        ReplaceColor(folder / "big.bmp", width, Before, After);
        EXPECT_TRUE(folder.read("big.tmp") == makeBmp24(width, height, Pixel{9, 8, 7})) << width;
    }
}

TEST(EngineReplaceColor, FailuresLeaveTheTemporaryFileAlone) {
    const struct {
        std::int32_t width;
        std::size_t length;
        int error;
    } failures[] = {{0, 100, ErrorNumber::InvalidArgument},
                    {INT_MIN, 100, ErrorNumber::InvalidArgument},
                    {16, 54, ErrorNumber::SubscriptOutOfRange}};
    TestFolder folder;
    folder.write("f.tmp", {42});
    for (const auto& failure : failures) {
        folder.write("f.bmp", Bytes(failure.length, 1));
        EXPECT_EQ(
            errorNumberOf([&] { ReplaceColor(folder / "f.bmp", failure.width, Before, After); }),
            failure.error)
            << failure.width;
        EXPECT_EQ(folder.read("f.tmp"), Bytes{42});
        EXPECT_EQ(folder.names().size(), 2u);
    }
}

} // namespace

} // namespace pixtint
