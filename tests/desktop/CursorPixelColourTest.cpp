// SPDX-License-Identifier: MIT
#include "desktop/CursorPixelColour.h"

#include "widgets/Swatch.h"

#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace pixtint {

namespace {

// A top-level window painted all over in one colour value, with the pointer over its centre.
std::unique_ptr<Swatch> paintedWindowUnderPointer(std::int32_t colour, QRect geometry) {
    auto window = std::make_unique<Swatch>(nullptr);
    window->setFrameStyle(QFrame::NoFrame);
    window->setColourValue(colour);
    window->setGeometry(geometry);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCursor::setPos(window->mapToGlobal(window->rect().center()));
    return window;
}

// A pick over a preview reads the screen under the pointer; off every screen nothing can be
// read there.
TEST(CursorPixelColour, OffEveryScreenFallsBackToOurWindowElseBlack) {
    // Half of this window lies left of the screen, where no screen pixel can be read.
    const auto window = paintedWindowUnderPointer(0x000000FF, QRect(-100, 40, 200, 60));
    const QPoint offScreen(-50, 70);
    ASSERT_EQ(QGuiApplication::screenAt(offScreen), nullptr);
    QCursor::setPos(offScreen);

    EXPECT_EQ(cursorPixelColour(window.get()), 255);
    EXPECT_EQ(cursorPixelColour(), 0);
    window->hide();
    EXPECT_EQ(cursorPixelColour(window.get()), 0) << "a hidden window shows nothing";
}

} // namespace

} // namespace pixtint
