#include "engine/RowInsertion.h"

#include "engine/Error.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/BmpBytes.h"

#include <gtest/gtest.h>
#include <numeric>

namespace pixtint {

namespace {

constexpr Rgb Fill{0x30, 0x20, 0x10};

// The source's first bytes with single header bytes patched, cut or zero-padded to 774 bytes,
// and a row of the fill colour added. The byte-wise move for a bottom row carries header bytes
// 6..53 into the first row, which is then painted, so the rest are the 720 bytes from 54 on.
Bytes expectedResult(Bytes source, bool top) {
    source[2] = 0x36;
    source[22] = 16;
    source[34] = 0;
    source[35] = 3;
    source.resize(774, 0);
    const Bytes stored = makeBmp24(16, 1, Pixel{0x30, 0x20, 0x10});
    const Bytes row(stored.begin() + 54, stored.end());
    if (top) {
        return concat({source, row});
    }
    return concat({Bytes(source.begin(), source.begin() + 54), row,
                   Bytes(source.begin() + 54, source.end())});
}

// Sources longer or shorter than a 16 x 15 picture are cut or padded to one.
TEST(EngineRowInsertion, Makes822Bytes) {
    for (const std::size_t length : {774, 900, 40}) {
        for (const bool top : {true, false}) {
            SCOPED_TRACE(testing::Message() << length << (top ? " top" : " bottom"));
            Bytes original(length);
            std::iota(original.begin(), original.end(), std::uint8_t{0});
            EXPECT_EQ(grownTo16x16(original, top, Fill), expectedResult(original, top));
        }
    }
}

TEST(EngineRowInsertion, ASourceTooShortForTheHeaderPatchIsTruncated) {
    EXPECT_EQ(errorKindOf([] { grownTo16x16(Bytes(35, 1), false, Fill); }), ErrorKind::Truncated);
}

} // namespace

} // namespace pixtint
