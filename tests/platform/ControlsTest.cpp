#include "AppError.h"
#include "CheckBox.h"
#include "ColorValue.h"
#include "ListView.h"
#include "OptionButton.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(Controls, GeometryIsKeptInTwipsAsSetAndPlacedOnWholePixels) {
    QWidget container;
    CheckBox box(&container);
    box.Move(120, 247.5, 1935, 255);
    EXPECT_DOUBLE_EQ(box.Top(), 247.5);
    EXPECT_EQ(box.geometry(), QRect(8, 17, 129, 17));
    box.setWidth(-30); // squeezed to nothing rather than a negative widget
    EXPECT_EQ(box.width(), 0);
}

TEST(Controls, CheckBoxRaisesClickWhenAndOnlyWhenItsValueChanges) {
    QWidget container;
    CheckBox box(&container);
    QSignalSpy clicks(&box, &CheckBox::Click);
    box.setValue(1);
    box.setValue(1);
    box.setValue(0);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_THROW(box.setValue(3), AppError);
    EXPECT_EQ(box.Value(), 0);
}

TEST(Controls, OptionButtonCanBeDeselectedLeavingTheGroupEmpty) {
    QWidget container;
    OptionButton top(&container);
    OptionButton bottom(&container);
    QSignalSpy topClicks(&top, &OptionButton::Click);
    top.setValue(true);
    top.setValue(false);
    EXPECT_FALSE(top.Value());
    EXPECT_FALSE(bottom.Value());
    EXPECT_EQ(topClicks.count(), 2);

    container.show();
    QTest::mouseClick(&bottom, Qt::LeftButton);
    EXPECT_TRUE(bottom.Value());
    EXPECT_EQ(topClicks.count(), 2) << "the button that loses the selection raises nothing";
}

TEST(Controls, ListViewRaisesClickForTheUserButNotForTheProgram) {
    ImageList icons;
    icons.Add("BMP", QIcon());
    ListView list(nullptr);
    list.setSmallIcons(&icons);
    list.resize(200, 100);
    list.Add("a.bmp");
    list.Add("b.bmp");
    list.show();
    QSignalSpy clicks(&list, &ListView::Click);

    list.Item(2).setSelected(true);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(list.SelectedItem()->Text(), "b.bmp");
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.SelectedItem()->Text(), "a.bmp");
    EXPECT_THROW(list.Item(3), AppError);
    EXPECT_THROW(list.Item(0), AppError);
}

TEST(Controls, ColourValuesSplitAndSystemColoursFollowThePalette) {
    EXPECT_EQ(ColorValue::toColor(0x00D8E9EC), QColor(236, 233, 216));
    EXPECT_EQ(ColorValue::fromColor(QColor(191, 191, 191)), 12566463);
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    EXPECT_EQ(ColorValue::paintedColor(ColorValue::ButtonFace, palette), QColor(1, 2, 3));
    EXPECT_EQ(ColorValue::paintedColor(255, palette), QColor(255, 0, 0));
}
