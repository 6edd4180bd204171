#include "platform/Twips.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <QCoreApplication>

namespace pixtint {

// The window's layout, driven through the real window. On the offscreen platform a resize is
// delivered at once, inside the call that sets the size; the minimum-size correction runs
// from the event loop afterwards.

namespace {

const QString WidthMessage = QStringLiteral("これ以上幅を小さくできません！");
const QString HeightMessage = QStringLiteral("これ以上高さを小さくできません！");

// A size set in twips lands on whole pixels, so it reads back within half a pixel.
constexpr double HalfPixel = Twips::PerPixel / 2;

} // namespace

class LayoutTest : public MainWindowFixture {
protected:
    // Runs every queued correction, and the ones those queue in turn.
    static void settleAll() {
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
        }
    }
    void resizeClient(double widthTwips, double heightTwips) {
        window->setClientSize(widthTwips, heightTwips);
        settleAll();
    }
    QStringList messageTexts() const {
        QStringList texts;
        for (const FakeDialogs::Message& message : dialogs.messages) {
            texts << message.text;
        }
        return texts;
    }
    // The file frame and the buttons follow the client area as it now is.
    void expectLaidOutForClientArea() const {
        EXPECT_EQ(control<Frame>("Frame1")->Width(), window->ScaleWidth() - 3615);
        EXPECT_EQ(control<CommandButton>("Command1")->Top(), window->ScaleHeight() - 795);
    }
};

TEST_F(LayoutTest, DesignSizeGivesTheDesignLayoutAndTooSmallIsCorrectedWidthFirst) {
    MainWindow& w = start();
    ASSERT_EQ(w.ScaleWidth(), 8910);
    ASSERT_EQ(w.ScaleHeight(), 6270);
    const std::vector<double> figures{
        control<Frame>("Frame1")->Width(),          control<Label>("Label1")->Width(),
        control<ListView>("ListView1")->Width(),    control<CommandButton>("Command2")->Left(),
        control<CommandButton>("Command3")->Left(), control<Frame>("Frame2")->Left(),
        control<CommandButton>("Command1")->Left(), control<CommandButton>("Command1")->Top(),
        control<CommandButton>("Command4")->Left(), control<CommandButton>("Command4")->Top(),
        control<CommandButton>("Command7")->Left(), control<CommandButton>("Command7")->Top(),
        control<CheckBox>("Check1")->Top(),         control<ImageBox>("Image3")->Left(),
        control<ImageBox>("Image3")->Top(),         control<ImageBox>("Image1(0)")->Left(),
        control<ImageBox>("Image1(0)")->Top(),      control<ImageBox>("Image1(1)")->Left()};
    // The empty 795 x 795 boxes stand either side of the arrow, centred on (4455, 4365).
    EXPECT_EQ(figures,
              (std::vector<double>{5295, 5055, 5055, 4320, 4320, 5535, 7935, 5475, 6480, 5475, 5145,
                                   5475, 5715, 4200, 4200, 3345, 3967.5, 4770}));
    EXPECT_EQ((std::vector{w.previewRoom().widthLimit, w.previewRoom().heightLimit,
                           w.previewRoom().centreX, w.previewRoom().centreY}),
              (std::vector{4020, 1980, 4455, 4365}));

    // The minimum size itself is accepted.
    w.setWidth(7500);
    w.setHeight(5500);
    settleAll();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(w.Width(), 7500);
    EXPECT_GE(w.Height(), 5500);
    EXPECT_LT(w.Height(), 5500 + HalfPixel);

    std::vector<double> widthsWhileShown;
    dialogs.onMessage = [&](const FakeDialogs::Message&) {
        widthsWhileShown.push_back(w.Width());
    };
    // A drag delivers many resizes before the event loop runs again; each side gets one
    // message, and the height is only looked at once the width has been corrected. The drag
    // ends one pixel short of the minimum both ways.
    w.setWidth(7200);
    w.setHeight(5490);
    w.setWidth(7485);
    settleAll();

    ASSERT_EQ(messageTexts(), (QStringList{WidthMessage, HeightMessage}));
    EXPECT_EQ(dialogs.messages[0].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Pixtint"));
    EXPECT_LT(widthsWhileShown.at(0), 7500);
    EXPECT_NEAR(w.Width(), 7600, HalfPixel);
    EXPECT_NEAR(w.Height(), 5600, HalfPixel);
    expectLaidOutForClientArea();
}

TEST_F(LayoutTest, ResizeRunsThePreviewAgainUnlessALongOperationIsRunning) {
    pictures.write("icon.bmp", makeBmp24(16, 15, {10, 20, 30}));
    rememberPictureFolder();
    MainWindow& w = start();
    control<StatusBar>("StatusBar1")->setPanelText(2, QString());

    resizeClient(12000, 9000);
    EXPECT_EQ(panel(2), QStringLiteral("774バイト"));
    // 800 x 750 twips around the new centre (6000, 5730); the row to be inserted makes the
    // after image 800 high.
    EXPECT_EQ((std::vector{
                  control<ImageBox>("Image1(0)")->Left(), control<ImageBox>("Image1(0)")->Top(),
                  control<ImageBox>("Image1(0)")->Width(), control<ImageBox>("Image1(0)")->Height(),
                  control<ImageBox>("Image1(1)")->Left(), control<ImageBox>("Image1(1)")->Top()}),
              (std::vector<double>{6000 - 255 - 60 - 800, 5730 - 375, 800, 750, 6000 + 255 + 60,
                                   5730 - 375}));

    control<StatusBar>("StatusBar1")->setPanelText(2, QStringLiteral("kept"));
    {
        // As when a message box of the batch or the preview is open: the images are only
        // placed again, around the new centre x of 5100.
        BusyPointer busy(w);
        resizeClient(10200, 8100);
    }
    EXPECT_EQ(panel(2), QStringLiteral("kept"));
    EXPECT_EQ(control<ImageBox>("Image1(0)")->Left(), 5100 - 255 - 60 - 800);
    expectLaidOutForClientArea();
}

TEST_F(LayoutTest, MinimizedWindowIsLeftAloneUntilRestored) {
    MainWindow& w = start();
    w.showMinimized();
    settleAll();
    resizeClient(6000, 4005);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(w.ScaleWidth(), 6000);
    EXPECT_EQ(control<Frame>("Frame1")->Width(), 5295);

    w.showNormal();
    settleAll();
    EXPECT_EQ(messageTexts(), (QStringList{WidthMessage, HeightMessage}));
    EXPECT_NEAR(w.Width(), 7600, HalfPixel);
    expectLaidOutForClientArea();
}

} // namespace pixtint
