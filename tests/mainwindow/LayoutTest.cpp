// SPDX-License-Identifier: MIT
#include "mainwindow/LayoutRules.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "widgets/Twips.h"

#include <algorithm>

namespace pixtint {

// The window's layout, driven through the real window. On the offscreen platform a resize is
// delivered at once, inside the call that sets the size; the minimum-size correction runs
// from the event loop afterwards.

namespace {

const QString WidthMessage = QStringLiteral("これ以上幅を小さくできません！");
const QString HeightMessage = QStringLiteral("これ以上高さを小さくできません！");

// A size set in twips lands on whole pixels, so it reads back within half a pixel.
constexpr double HalfPixel = Twips::PerPixel / 2;

QRect pixels(double left, double top, double width, double height) {
    return pixelRect({left, top, width, height});
}

} // namespace

class LayoutTest : public MainWindowFixture {
protected:
    // The outer size, borders and title bar included, in twips.
    double outerWidth() const { return Twips::fromPixels(window->frameGeometry().width()); }
    double outerHeight() const { return Twips::fromPixels(window->frameGeometry().height()); }
    void setOuterWidth(double twips) {
        const int frame = window->frameGeometry().width() - window->width();
        window->resize(Twips::toPixels(twips) - frame, window->height());
    }
    void setOuterHeight(double twips) {
        const int frame = window->frameGeometry().height() - window->height();
        window->resize(window->width(), Twips::toPixels(twips) - frame);
    }
    // Every control the layout moves stands where the layout rules put it for the client area
    // as it now is: that the window applies its rules, not what the rules work out.
    void expectLaidOutForClientArea() const {
        const double width = Twips::fromPixels(window->width());
        const double height = Twips::fromPixels(window->height());
        const LayoutRules::Layout layout = LayoutRules::layOut(width, height).value();
        const std::pair<QWidget*, TwipsRect> placed[] = {
            {fileFrame(), layout.fileFrame},
            {folderLabel(), layout.folderLabel},
            {browseButton(), layout.browseButton},
            {fileList(), layout.fileList},
            {refreshButton(), layout.refreshButton},
            {control<QGroupBox>("Frame2"), layout.conversionFrame},
            {control<QWidget>("Image3"), layout.arrow},
            {backupBox(), layout.backupBox},
            {readmeButton(), layout.readmeButton},
            {convertButton(), layout.convertButton},
            {exitButton(), layout.exitButton},
            {control<QWidget>("StatusBar1"), LayoutRules::statusBarPlace(width, height)}};
        for (const auto& [widget, place] : placed) {
            EXPECT_EQ(widget->geometry(), pixelRect(place)) << widget->objectName().toStdString();
        }
    }
};

TEST_F(LayoutTest, DesignSizeGivesTheDesignLayoutAndTooSmallIsCorrectedWidthFirst) {
    MainWindow& w = start();
    ASSERT_EQ(w.size(), QSize(594, 418)); // 8910 x 6270 twips
    expectLaidOutForClientArea();
    // The empty 795 x 795 boxes stand either side of the arrow, centred on (4455, 4365).
    EXPECT_EQ(image(Side::Before)->geometry(), pixels(3345, 3967.5, 795, 795));
    EXPECT_EQ(image(Side::After)->geometry(), pixels(4770, 3967.5, 795, 795));

    // The minimum size itself is accepted.
    setOuterWidth(7500);
    setOuterHeight(5500);
    settle(20);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(outerWidth(), 7500);
    EXPECT_GE(outerHeight(), 5500);
    EXPECT_LT(outerHeight(), 5500 + HalfPixel);

    std::vector<double> widthsWhileShown;
    dialogs.onMessage = [&](const FakeDialogs::Message&) {
        widthsWhileShown.push_back(outerWidth());
    };
    // A drag delivers many resizes before the event loop runs again; each side gets one
    // message, and the height is only looked at once the width has been corrected. The drag
    // ends one pixel short of the minimum both ways.
    setOuterWidth(7200);
    setOuterHeight(5490);
    setOuterWidth(7485);
    settle(20);

    ASSERT_EQ(messageTexts(), (QStringList{WidthMessage, HeightMessage}));
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Pixtint"));
    EXPECT_LT(widthsWhileShown.at(0), 7500);
    EXPECT_NEAR(outerWidth(), 7600, HalfPixel);
    EXPECT_NEAR(outerHeight(), 5600, HalfPixel);
    expectLaidOutForClientArea();
}

// The window paints each frame itself: the border runs along its top, above all of its
// contents, with the title in the border line; read from the window's pixels. At the narrowest
// width 参照 is still the control under its own centre.
TEST_F(LayoutTest, FramesHoldTheirContentsInsideTheirBordersAndBrowseStaysOnTop) {
    start();
    const QImage shot = window->grab().toImage();
    for (const QGroupBox* frame : window->findChildren<QGroupBox*>()) {
        SCOPED_TRACE(frame->objectName().toStdString());
        const QPoint origin = frame->mapTo(window.get(), QPoint(0, 0));
        const QRgb background = shot.pixel(origin);
        const auto pixel = [&](int x, int y) {
            return shot.pixel(origin + QPoint(x, y));
        };
        int border = 0; // its top line, down the frame's right side, clear of its contents
        while (border < frame->height() && pixel(frame->width() - 6, border) == background) {
            ++border;
        }
        for (const QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_GT(child->y(), border) << child->objectName().toStdString();
        }
        // The title's ink reaches above and below the border line.
        int titleTop = frame->height();
        int titleBottom = -1;
        const int titleWidth = frame->fontMetrics().horizontalAdvance(frame->title());
        for (int y = 0; y < 2 * border + 2; ++y) {
            for (int x = 0; x < titleWidth + 12; ++x) {
                if (qGray(pixel(x, y)) < qGray(background) - 40) {
                    titleTop = std::min(titleTop, y);
                    titleBottom = std::max(titleBottom, y);
                }
            }
        }
        EXPECT_LT(titleTop, border);
        EXPECT_GT(titleBottom, border);
    }
    setOuterWidth(7500);
    settle(20);
    const QPoint centre = browseButton()->geometry().center();
    EXPECT_EQ(fileFrame()->childAt(centre), browseButton());
}

} // namespace pixtint
