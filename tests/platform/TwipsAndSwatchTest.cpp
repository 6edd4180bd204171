#include "platform/ColourValue.h"
#include "platform/Swatch.h"
#include "platform/Twips.h"

#include <gtest/gtest.h>

namespace pixtint {

TEST(TwipsPlacement, EdgesLandOnTheNearestWholePixels) {
    EXPECT_EQ(pixelRect({120, 247.5, 1935, 255}), QRect(8, 17, 129, 17));
    // Neighbours that touch in twips touch on screen, whatever the rounding of each size:
    // 3967.5 + 795 ends on pixel 318 whether it is reached from the top or as a size.
    EXPECT_EQ(pixelRect({0, 3967.5, 10, 795}).bottom() + 1, pixelRect({0, 4762.5, 10, 30}).top());
    EXPECT_EQ(pixelRect({0, 0, -30, 15}).width(), 0) << "squeezed to nothing";
}

TEST(SwatchTest, APlainValueShowsItsColourAndASystemColourTheWindowBackground) {
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    window.setPalette(palette);
    Swatch swatch(&window);
    swatch.resize(20, 20);

    swatch.setColourValue(0x00D8E9EC); // red in the low byte
    EXPECT_EQ(swatch.shownColour(), QColor(236, 233, 216));
    swatch.setColourValue(ColourValue::ButtonFace);
    EXPECT_EQ(swatch.colourValue(), ColourValue::ButtonFace) << "kept as a reference";
    EXPECT_EQ(swatch.shownColour(), QColor(1, 2, 3));
    const QImage painted = swatch.grab().toImage();
    EXPECT_EQ(painted.pixelColor(painted.rect().center()), QColor(1, 2, 3));
}

} // namespace pixtint
