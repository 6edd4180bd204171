#include "GetMouseMoveColor.h"
#include "Label.h"

#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A top-level window painted all over in one colour value.
class PaintedWindow {
public:
    PaintedWindow(std::int32_t colour, QRect geometry) {
        label_.setBackColor(colour);
        label_.setGeometry(geometry);
        label_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&label_));
    }
    Label& widget() { return label_; }
    QPoint centre() const { return label_.mapToGlobal(label_.rect().center()); }

private:
    Label label_{nullptr};
};

} // namespace

TEST(CursorPixelColor, ReadsTheScreenUnderThePointer) {
    PaintedWindow window(0x00336699, QRect(40, 40, 60, 60));
    QCursor::setPos(window.centre());
    EXPECT_EQ(GetCursorPixelColor(), 0x00336699);

    PaintedWindow white(0x00FFFFFF, QRect(140, 40, 60, 60));
    QCursor::setPos(white.centre());
    EXPECT_EQ(GetCursorPixelColor(), 16777215);
}

TEST(CursorPixelColor, OffEveryScreenFallsBackToOurWindowElseBlack) {
    // Half of this window lies left of the screen, where no screen pixel can be read.
    PaintedWindow window(0x000000FF, QRect(-100, 40, 200, 60));
    const QPoint offScreen(-50, 70);
    ASSERT_EQ(QGuiApplication::screenAt(offScreen), nullptr);
    QCursor::setPos(offScreen);

    EXPECT_EQ(GetCursorPixelColor(&window.widget()), 255);
    EXPECT_EQ(GetCursorPixelColor(), 0);
    window.widget().hide();
    EXPECT_EQ(GetCursorPixelColor(&window.widget()), 0) << "a hidden window shows nothing";
}
