#include "tests/mainwindow/MainWindowFixture.h"

#include <QLabel>

namespace pixtint {

class StatusBarTest : public MainWindowFixture {
protected:
    // The panel as drawn, where the fixture's statusText() is the text the window put there.
    QLabel* shownPanel(int number) const {
        return control<QLabel>(QStringLiteral("Panel%1").arg(number));
    }
};

TEST_F(StatusBarTest, EveryPanelIsTallEnoughForItsFontDescendersIncluded) {
    pictures.write("a_pad.bmp", makeBmp24(2, 2, Blue));
    rememberPictureFolder();
    start();
    ASSERT_TRUE(statusText(StatusBar::Field::Path).endsWith("a_pad.bmp"));
    const auto expectWholeHeight = [&] {
        for (int number = 1; number <= 3; ++number) {
            const QLabel& shown = *shownPanel(number);
            EXPECT_GE(shown.contentsRect().height(), shown.fontMetrics().height()) << number;
        }
    };
    expectWholeHeight();

    QFont large = window->font(); // a font taller than the bar is made to fit it
    large.setPointSize(16);
    control<StatusBar>("StatusBar1")->setFont(large);
    expectWholeHeight();
}

TEST_F(StatusBarTest, ALongPathIsShortenedInTheMiddleAndShownWholeAsItsToolTip) {
    const std::string longName = std::string(180, 'x') + ".bmp";
    pictures.write(longName, makeBmp24(2, 2, Blue));
    pictures.write("a.bmp", makeBmp24(2, 2, Blue));
    rememberPictureFolder();
    start();
    const QLabel& path = *shownPanel(3);
    EXPECT_EQ(path.text(), statusText(StatusBar::Field::Path)) << "a short path shows whole";
    EXPECT_EQ(path.toolTip(), "ファイル名");

    show(1);
    const QString whole = pictureFolderText() + '/' + QString::fromStdString(longName);
    EXPECT_EQ(statusText(StatusBar::Field::Path), whole);
    EXPECT_EQ(path.toolTip(), whole);
    const QString shown = path.text();
    EXPECT_TRUE(shown.contains(QChar(0x2026)) && shown.endsWith("x.bmp")) << shown.toStdString();
    EXPECT_LE(path.fontMetrics().horizontalAdvance(shown),
              path.contentsRect().width() - path.indent());
}

} // namespace pixtint
