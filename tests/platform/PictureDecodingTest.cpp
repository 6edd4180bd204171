#include "PictureDecoding.h"

#include "AppError.h"
#include "BmpBytes.h"
#include "TestFolder.h"

#include <QImage>
#include <gtest/gtest.h>

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

QImage decodedByQt(const std::vector<std::uint8_t>& bytes) {
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()))
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(PictureDecoding, ReadsPlainBitmapsPixelForPixelAsQtDoes) {
    TestFolder folder;
    for (int width : {1, 2, 3, 4, 5, 16}) {
        const auto bmp = gradient(width, 3);
        folder.write("p.bmp", bmp);
        const QImage ours =
            decodePictureFile(folder / "p.bmp").convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(ours, decodedByQt(bmp)) << "width " << width;
    }
}

TEST(PictureDecoding, ReadsTopDownRowsInTheirOrder) {
    TestFolder folder;
    auto bmp = makeBmp24(2, 2, {});
    setPixel(bmp, 0, 0, {255, 0, 0}); // stored last: the top row of a bottom-up picture
    bmp[22] = 0xFE;                   // height -2: now the first stored row is the top
    bmp[23] = bmp[24] = bmp[25] = 0xFF;
    folder.write("p.bmp", bmp);
    const QImage picture = decodePictureFile(folder / "p.bmp");
    EXPECT_EQ(picture.pixelColor(0, 1), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(0, 0, 0));
}

TEST(PictureDecoding, SamplesLargePicturesDownKeepingProportions) {
    TestFolder folder;
    folder.write("p.bmp", gradient(40, 20));
    const QImage picture = decodePictureFile(folder / "p.bmp", 10);
    EXPECT_EQ(picture.size(), QSize(10, 5));
    EXPECT_EQ(picture.pixelColor(3, 2), QColor(12 * 7, 8 * 11, 12 + 8)); // pixel (12, 8)
}

TEST(PictureDecoding, OtherKindsGoThroughQtAndNonPicturesAreReported) {
    TestFolder folder;
    folder.write("palette.bmp", makeBmpWithBitCount(4, 4, 8));
    EXPECT_EQ(decodePictureFile(folder / "palette.bmp").size(), QSize(4, 4));

    folder.write("junk.bmp", std::vector<std::uint8_t>(80, 0x5A));
    try {
        decodePictureFile(folder / "junk.bmp");
        FAIL() << "junk was read as a picture";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 481);
    }
    try {
        decodePictureFile(folder / "missing.bmp");
        FAIL();
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 53);
    }
}
