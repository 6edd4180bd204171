#include "conversion/FileConversion.h"

#include "conversion/Backup.h"
#include "conversion/ConvertedPicture.h"
#include "conversion/Convertibility.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <climits>
#include <gtest/gtest.h>
#include <numeric>

namespace pixtint {

namespace {

constexpr Rgb Before{3, 2, 1};
constexpr Rgb After{9, 8, 7};
const ConversionRequest BeforeToAfter{{{Before, After}}};

Bytes converted(const std::filesystem::path& path, const ConversionRequest& request,
                std::size_t chunk = ConversionChunkSize) {
    Bytes bytes;
    convertFile(
        FileByteSource(path), request,
        [&](std::span<const std::uint8_t> part) {
            bytes.insert(bytes.end(), part.begin(), part.end());
        },
        chunk);
    return bytes;
}

// Files larger than a read chunk: pixels cut by a chunk boundary must come out whole, and
// a preview that reads any range must see the same bytes as the stream.
TEST(ConversionOfOneFile, ChunkEdgesAndRandomReadsGiveTheSameBytes) {
    TestFolder folder;
    for (const int width : {1, 4, 5, 7, 1001}) {
        SCOPED_TRACE(width);
        const int height = 3 * 4096 / (width * 3) + 1;
        Bytes source = makeBmp24(width, height, Pixel{3, 2, 1});
        setPixel(source, 0, 0, Pixel{1, 1, 1});
        folder.write("big.bmp", source);
        Bytes expected = makeBmp24(width, height, Pixel{9, 8, 7});
        setPixel(expected, 0, 0, Pixel{1, 1, 1});
        EXPECT_TRUE(converted(folder / "big.bmp", BeforeToAfter, 100) == expected);
        EXPECT_TRUE(converted(folder / "big.bmp", BeforeToAfter) == expected);

        const ConvertedPicture picture(folder / "big.bmp", BeforeToAfter);
        ASSERT_EQ(picture.size(), expected.size());
        for (const std::size_t offset : {0, 53, 55, 56, 1000, 4095}) {
            Bytes part(std::min<std::size_t>(77, expected.size() - offset));
            EXPECT_EQ(picture.readAt(offset, part), part.size());
            EXPECT_TRUE(std::equal(part.begin(), part.end(), expected.begin() + offset)) << offset;
        }
    }
}

TEST(ConversionOfOneFile, GrowsOnly16x15PicturesWithTheNewColour) {
    TestFolder folder;
    folder.write("icon.bmp", makeBmp24(16, 15, Pixel{3, 2, 1}));
    folder.write("wide.bmp", makeBmp24(17, 15, Pixel{3, 2, 1}));
    const ConversionRequest grow{{{Before, After}}, Growth::Top};
    EXPECT_EQ(converted(folder / "icon.bmp", grow), makeBmp24(16, 16, Pixel{9, 8, 7}));
    const ConvertedPicture grown(folder / "icon.bmp", grow);
    EXPECT_TRUE(grown.grown());
    // Reads at or past the end, or of nothing, give nothing.
    Bytes rest(4);
    EXPECT_EQ(grown.readAt(grown.size() - 2, rest), 2u);
    EXPECT_EQ(grown.readAt(grown.size(), rest), 0u);
    EXPECT_EQ(ConvertedPicture(folder / "wide.bmp", grow).readAt(0, {}), 0u);
    EXPECT_EQ(grown.readAt(0, {}), 0u);
    EXPECT_EQ(converted(folder / "wide.bmp", grow), makeBmp24(17, 15, Pixel{9, 8, 7}));

    // The new row keeps the new colour even when another pair would change that colour.
    const ConversionRequest swap{{{Before, After}, {After, Before}}, Growth::Bottom};
    Bytes expected = makeBmp24(16, 16, Pixel{9, 8, 7});
    EXPECT_EQ(converted(folder / "icon.bmp", swap), expected);
    setPixel(expected, 0, 14, Pixel{3, 2, 1});
    auto icon = makeBmp24(16, 15, Pixel{3, 2, 1});
    setPixel(icon, 0, 14, Pixel{9, 8, 7});
    folder.write("icon.bmp", icon);
    EXPECT_EQ(converted(folder / "icon.bmp", swap), expected);
}

TEST(ConversionOfOneFile, BadHeadersFailBeforeAnyByteIsHandedOn) {
    const auto sized = [](std::size_t length, std::int32_t width) {
        Bytes bytes(length, 1);
        for (int i = 0; i < 4 && length >= 22; ++i) {
            bytes[18 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> 8 * i);
        }
        return bytes;
    };
    const struct {
        Bytes bytes;
        ErrorKind error;
    } failures[] = {{sized(25, 1), ErrorKind::TooShort},
                    {sized(100, 0), ErrorKind::InvalidWidth},
                    {sized(100, INT_MIN), ErrorKind::InvalidWidth},
                    {sized(54, 16), ErrorKind::NoPixels}};
    TestFolder folder;
    for (const auto& failure : failures) {
        folder.write("f.bmp", failure.bytes);
        bool handedOn = false;
        EXPECT_EQ(errorKindOf([&] {
                      convertFile(FileByteSource(folder / "f.bmp"), BeforeToAfter,
                                  [&](std::span<const std::uint8_t>) { handedOn = true; });
                  }),
                  failure.error);
        EXPECT_FALSE(handedOn);
        EXPECT_EQ(errorKindOf([&] { ConvertedPicture(folder / "f.bmp", BeforeToAfter); }),
                  failure.error);
    }
}

// Nothing but byte 28 counts for the list; a file taken whatever its name must also start
// with "BM".
TEST(ConversionOfOneFile, TwentyFourBitTestLooksAtByte28AndTheSignature) {
    TestFolder folder;
    Bytes bytes(54, 0xAA);
    bytes[28] = 24;
    folder.write("plain.bmp", bytes);
    bytes[0] = 'B';
    bytes[1] = 'M';
    folder.write("signed.bmp", bytes);
    folder.write("short.bmp", Bytes(28, 24));
    std::filesystem::create_directory(folder / "sub.bmp");
    EXPECT_TRUE(isBitmap24Bit(folder / "plain.bmp"));
    EXPECT_FALSE(isSignedBitmap24Bit(folder / "plain.bmp"));
    EXPECT_TRUE(isSignedBitmap24Bit(folder / "signed.bmp"));
    EXPECT_EQ(errorKindOf([&] { isBitmap24Bit(folder / "short.bmp"); }), ErrorKind::TooShort);
    EXPECT_EQ(errnoOf([&] { isBitmap24Bit(folder / "sub.bmp"); }), EISDIR);
    EXPECT_EQ(errnoOf([&] { isBitmap24Bit(folder / "gone.bmp"); }), ENOENT);
}

TEST(ConversionOfOneFile, BackupNameReplacesTheLastThreeBytes) {
    EXPECT_EQ(backupPathFor("/pics/A.BMP"), "/pics/A.bak");
    EXPECT_EQ(backupPathFor("/p/\xff\xfe.bmp"), "/p/\xff\xfe.bak");
    EXPECT_THROW(backupPathFor("ab"), Error);
}

} // namespace

} // namespace pixtint
