#include "platform/PictureDecoding.h"

#include "engine/ByteSource.h"
#include "engine/Error.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

// A picture whose every pixel differs, so a misplaced row or column shows.
std::vector<std::uint8_t> gradient(int width, int height) {
    auto bmp = makeBmp24(width, height, {});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(bmp, x, y,
                     {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                      static_cast<std::uint8_t>(x + y)});
        }
    }
    return bmp;
}

} // namespace

// Pixel for pixel as Qt's reader, and large pictures sampled down keeping their proportions.
TEST(PictureDecoding, ReadsPlainBitmapsBottomUpOrTopDownAsQtDoesAndSamplesThemDown) {
    TestFolder folder;
    folder.write("large.bmp", gradient(40, 20));
    const QImage sampled = decodePictureFile(folder / "large.bmp", 10);
    EXPECT_EQ(sampled.size(), QSize(10, 5));
    EXPECT_EQ(sampled.pixelColor(3, 2), QColor(12 * 7, 8 * 11, 12 + 8)); // pixel (12, 8)

    for (const bool topDown : {false, true}) {
        for (const int width : {1, 2, 3, 4, 5, 16}) {
            auto bmp = gradient(width, 3);
            if (topDown) { // height -3: the first stored row is now the top one
                bmp[22] = 0xFD;
                bmp[23] = bmp[24] = bmp[25] = 0xFF;
            }
            folder.write("p.bmp", bmp);
            const QImage ours =
                decodePictureFile(folder / "p.bmp").convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(ours, QImage::fromData(bmp.data(), static_cast<int>(bmp.size()))
                                .convertToFormat(QImage::Format_RGB32))
                << "width " << width << (topDown ? " top-down" : "");
        }
    }
}

TEST(PictureDecoding, OtherKindsGoThroughQtAndBytesThatAreNoPictureAreSaidToBeNone) {
    TestFolder folder;
    folder.write("palette.bmp", makeBmpWithBitCount(4, 4, 8));
    EXPECT_EQ(decodePictureFile(folder / "palette.bmp").size(), QSize(4, 4));
    EXPECT_NO_THROW(checkPictureDecodes(FileByteSource(folder / "palette.bmp")));

    auto damaged = makeBmp24(4, 4, {});
    damaged[0] = 'X'; // still 24-bit by its byte 28
    folder.write("damaged.bmp", damaged);
    for (const auto& read :
         {std::function([&] { decodePictureFile(folder / "damaged.bmp"); }),
          std::function([&] { checkPictureDecodes(FileByteSource(folder / "damaged.bmp")); })}) {
        try {
            read();
            ADD_FAILURE() << "a damaged file was read";
        } catch (const Error& error) {
            EXPECT_EQ(error.kind(), ErrorKind::NotAPicture);
        }
    }
    EXPECT_THROW(decodePictureFile(folder / "missing.bmp"), std::exception);
}

} // namespace pixtint
