#include "engine/AppError.h"
#include "platform/CheckBox.h"
#include "platform/ColorValue.h"
#include "platform/ListView.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace pixtint {

TEST(Controls, GeometryIsKeptInTwipsAsSetAndPlacedOnWholePixels) {
    QWidget container;
    CheckBox box(&container);
    box.Move(120, 247.5, 1935, 255);
    EXPECT_DOUBLE_EQ(box.Top(), 247.5);
    EXPECT_EQ(box.geometry(), QRect(8, 17, 129, 17));
    box.setWidth(-30); // squeezed to nothing rather than a negative widget
    EXPECT_EQ(box.width(), 0);
}

// The window's tests cover the mouse, and selections by the program that raise nothing.
TEST(Controls, ListViewRaisesClickForTheKeyboard) {
    ImageList icons;
    icons.Add("BMP", QIcon());
    ListView list(nullptr);
    list.setSmallIcons(&icons);
    list.Add("a.bmp");
    list.Add("b.bmp");
    list.show();
    QSignalSpy clicks(&list, &ListView::Click);

    list.Item(2).setSelected(true);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.SelectedItem()->Text(), "a.bmp");
    EXPECT_THROW(list.Item(3), AppError);
    EXPECT_THROW(list.Item(0), AppError);
}

TEST(Controls, APlainColourValueIsPaintedAsRedGreenBlueFromTheLowByte) {
    EXPECT_EQ(ColorValue::paintedColor(0x00D8E9EC, QPalette()), QColor(236, 233, 216));
}

} // namespace pixtint
