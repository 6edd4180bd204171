// SPDX-License-Identifier: MIT
#include "widgets/PictureView.h"

#include <QImage>
#include <QSize>
#include <gtest/gtest.h>

namespace pixtint {

// The dropper takes the colour of the pixel the user sees under the pointer, at every point of
// a stretched picture: a 16 x 15 icon at the preview's 53 x 54, and stretches by odd factors
// either way, where rounding puts the edges between pixels.
TEST(PictureView, APickReadsThePixelDrawnUnderThePointer) {
    for (const auto& [stored, shown] : {std::pair{QSize(16, 15), QSize(53, 54)},
                                        {QSize(7, 5), QSize(23, 17)},
                                        {QSize(40, 30), QSize(37, 29)}}) {
        QImage picture(stored, QImage::Format_BGR888);
        for (int y = 0; y < stored.height(); ++y) {
            for (int x = 0; x < stored.width(); ++x) {
                picture.setPixelColor(x, y, QColor(x * 6, y * 8, 100));
            }
        }
        PictureView view(nullptr);
        view.setPicture(picture);
        view.resize(shown);
        const QImage drawn = view.grab().toImage();
        int wrong = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                wrong += view.pictureColourAt({x, y}) != drawn.pixelColor(x, y);
            }
        }
        EXPECT_EQ(wrong, 0) << stored.width() << " x " << stored.height() << " shown at "
                            << shown.width() << " x " << shown.height();
    }
}

} // namespace pixtint
