// SPDX-License-Identifier: MIT
#include "platform/PictureDecoding.h"

#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <QImage>
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

} // namespace pixtint
