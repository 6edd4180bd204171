#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>

namespace pixtint {

using Names = std::vector<std::string>;

class BatchTest : public MainWindowFixture {
protected:
    // Presses "変換実行", noting the window's state whenever a message box is up.
    void runBatch() {
        dialogs.messages.clear();
        dialogs.onMessage = [this](const FakeDialogs::Message&) {
            pointerAtMessage = window->MousePointer();
            batchRunningAtMessage = window->batchRunning();
        };
        window->Command4->click();
    }
    // The batch said only `text`, with the window at rest by then and afterwards.
    void expectOnlyMessage(const QString& text, Dialogs::Icon icon = Dialogs::Icon::None) const {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].icon, icon);
        EXPECT_EQ(dialogs.messages[0].title, "Pixtint");
        EXPECT_EQ(pointerAtMessage, 0);
        EXPECT_FALSE(batchRunningAtMessage);
        EXPECT_EQ(window->MousePointer(), 0);
        EXPECT_FALSE(window->batchRunning());
    }

    int pointerAtMessage = -1;
    bool batchRunningAtMessage = true;
};

TEST_F(BatchTest, ConvertsTheTickedFilesUnderTheirOwnNamesAndBacksUpTheirOldBytes) {
    const auto blue = makeBmp24(5, 3, Blue);
    const auto green = makeBmp24(4, 4, Green);
    auto icon = makeBmp24(16, 15, Blue);
    setPixel(icon, 0, 0, Green);
    auto grownIcon = makeBmp24(16, 16, Red); // a row of the after colour on top, converted
    setPixel(grownIcon, 0, 1, Green);
    const auto palette = makeBmpWithBitCount(4, 4, 8);
    pictures.write("A.BMP", blue);
    pictures.write("b.bmp", green); // nothing to convert, yet it goes through like the others
    pictures.write("icon.bmp", icon);
    pictures.write("p.bmp", palette);
    pictures.write("u.bmp", blue);
    startBlueToRed();
    item(5).setChecked(false);
    runBatch();

    expectOnlyMessage("変換終了！");
    EXPECT_EQ(listing(), (QStringList{"A.BMP OK ticked", "b.bmp OK ticked", "icon.bmp OK ticked",
                                      "p.bmp NoChg", "u.bmp BMP"}));
    EXPECT_EQ(pictures.names(), (Names{"A.BMP", "A.bak", "b.bak", "b.bmp", "icon.bak", "icon.bmp",
                                       "p.bmp", "u.bmp"}));
    EXPECT_EQ(pictures.read("A.BMP"), makeBmp24(5, 3, Red));
    EXPECT_EQ(pictures.read("A.bak"), blue);
    EXPECT_EQ(pictures.read("b.bmp"), green);
    EXPECT_EQ(pictures.read("icon.bmp"), grownIcon);
    EXPECT_EQ(pictures.read("icon.bak"), icon);
    EXPECT_EQ(pictures.read("p.bmp"), palette);
    EXPECT_EQ(pictures.read("u.bmp"), blue);

    // Run again: nothing blue is left, and the backups now hold the first run's results.
    runBatch();
    expectOnlyMessage("変換終了！");
    EXPECT_EQ(pictures.read("A.bak"), makeBmp24(5, 3, Red));
    EXPECT_EQ(pictures.names().size(), 8u);

    // The closing preview only shows: it must not convert the selected file, never ticked.
    for (int i = 1; i <= 3; ++i) {
        item(i).setChecked(false);
    }
    item(5).setSelected(true);
    runBatch();
    expectOnlyMessage("変換終了！");
    EXPECT_EQ(pictures.read("u.bmp"), blue);
}

TEST_F(BatchTest, FailuresAreReportedAndTheOtherFilesGoOn) {
    const auto blue = makeBmp24(4, 4, Blue);
    const auto olderBackup = makeBmp24(1, 1, Green);
    pictures.write("a.bmp", blue);
    pictures.write("a.bak", olderBackup);
    std::filesystem::create_directory(pictures / "a.tmp"); // a's result cannot be written
    pictures.write("b.bmp", blue);
    std::filesystem::create_directory(pictures / "b.bak"); // b's backup cannot take its place
    startBlueToRed();
    item(1).setSmallIcon("BMP"); // the start-up preview of a.bmp has already failed once
    runBatch();

    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].title, "変換エラー");
    EXPECT_EQ(dialogs.messages[1].title, "変換エラー");
    EXPECT_EQ(dialogs.messages[2].text, "変換終了！");
    EXPECT_EQ(listing(), (QStringList{"a.bmp NG ticked", "b.bmp OK ticked"}));
    EXPECT_EQ(pictures.read("a.bmp"), blue);
    EXPECT_EQ(pictures.read("a.bak"), olderBackup);
    EXPECT_EQ(pictures.read("b.bmp"), makeBmp24(4, 4, Red));
    // b's old bytes are not lost: they stay under a private name beside the folder in the way.
    const Names names = pictures.names();
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[4].substr(0, 6), "b.bak.");
    EXPECT_EQ(pictures.read(names[4]), blue);
}

TEST_F(BatchTest, WithoutBackupsAndWithSettingsLineFiveFalseTheRowGoesAtTheBottom) {
    auto icon = makeBmp24(16, 15, Blue);
    setPixel(icon, 0, 0, Green);
    pictures.write("icon.bmp", icon);
    startBlueToRed("False", " 0 ");
    runBatch();

    auto grown = makeBmp24(16, 16, Red);
    setPixel(grown, 0, 0, Green);
    EXPECT_EQ(pictures.read("icon.bmp"), grown);
    EXPECT_EQ(pictures.names(), Names{"icon.bmp"});
}

TEST_F(BatchTest, AnEmptyListIsReported) {
    startBlueToRed();
    runBatch();
    expectOnlyMessage("変換するファイルがありません！", Dialogs::Icon::Exclamation);
}

} // namespace pixtint
