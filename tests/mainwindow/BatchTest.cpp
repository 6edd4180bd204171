#include "platform/Twips.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <unistd.h>

// Pictures are described by naming only the fields that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pixtint {

using Names = std::vector<std::string>;

class BatchTest : public MainWindowFixture {
protected:
    // Presses "変換実行", noting the window's state whenever a message box is up.
    void runBatch() {
        dialogs.messages.clear();
        dialogs.onMessage = [this](const FakeDialogs::Message&) {
            busyAtMessage = busyPointerShown();
        };
        convertButton()->click();
    }
    // The batch said only `text`, with the window at rest by then and afterwards.
    void expectOnlyMessage(const QString& text,
                           QMessageBox::Icon icon = QMessageBox::NoIcon) const {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].icon, icon);
        EXPECT_EQ(dialogs.messages[0].title, "Pixtint");
        EXPECT_EQ(busyAtMessage, false);
        EXPECT_FALSE(busyPointerShown());
    }

    std::optional<bool> busyAtMessage;
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
    pictures.write("b.bmp", green); // nothing to convert: it ends "OK" but is not rewritten
    pictures.write("icon.bmp", icon);
    pictures.write("p.bmp", palette);
    pictures.write("u.bmp", blue);
    startBlueToRed();
    fileList()->setTicked(4, false);
    runBatch();

    expectOnlyMessage("変換終了！");
    EXPECT_EQ(listing(), (QStringList{"A.BMP OK ticked", "b.bmp OK ticked", "icon.bmp OK ticked",
                                      "p.bmp NoChg", "u.bmp BMP"}));
    EXPECT_EQ(pictures.names(),
              (Names{"A.BMP", "A.bak", "b.bmp", "icon.bak", "icon.bmp", "p.bmp", "u.bmp"}));
    EXPECT_EQ(pictures.read("A.BMP"), makeBmp24(5, 3, Red));
    EXPECT_EQ(pictures.read("A.bak"), blue);
    EXPECT_EQ(pictures.read("b.bmp"), green);
    EXPECT_EQ(pictures.read("icon.bmp"), grownIcon);
    EXPECT_EQ(pictures.read("icon.bak"), icon);
    EXPECT_EQ(pictures.read("p.bmp"), palette);
    EXPECT_EQ(pictures.read("u.bmp"), blue);

    // The closing preview only shows: it must not convert the selected file, never ticked.
    for (int row = 0; row < 3; ++row) {
        fileList()->setTicked(row, false);
    }
    fileList()->selectRow(4);
    runBatch();
    expectOnlyMessage("変換終了！");
    EXPECT_EQ(pictures.read("u.bmp"), blue);
}

// Esc stops the run after the current file; it then ends as a finished one does, and every
// picture is whole, old or new.
TEST_F(BatchTest, EscStopsTheRunAfterTheCurrentFile) {
    const auto blue = makeBmp24(3, 2, Blue);
    for (int i = 0; i < 100; ++i) {
        pictures.write("icon" + std::to_string(1000 + i) + ".bmp", blue);
    }
    startBlueToRed("True", " 0 ");
    QCoreApplication::postEvent(fileList(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    runBatch();

    expectOnlyMessage("変換終了！");
    int converted = 0;
    for (int i = 0; i < 100; ++i) {
        const auto bytes = pictures.read("icon" + std::to_string(1000 + i) + ".bmp");
        converted += bytes == makeBmp24(3, 2, Red) ? 1 : 0;
        EXPECT_TRUE(bytes == blue || bytes == makeBmp24(3, 2, Red));
    }
    EXPECT_GE(converted, 1);
    EXPECT_LT(converted, 100);
    EXPECT_EQ(pictures.names().size(), 100u);
}

// The batch converts exactly what its preview can show: a file that is 24-bit by its byte 28
// but no picture is reported as the preview reports it, and left as it was.
TEST_F(BatchTest, AFileThePreviewCannotShowEndsNGAndIsNotTouched) {
    auto damaged = makeBmp24(4, 4, Blue);
    damaged[0] = 'X';
    pictures.write("a.bmp", makeBmp24(4, 4, Blue));
    pictures.write("b.bmp", damaged);
    pictures.write("c.bmp", makeBmp24(4, 4, Blue));
    startBlueToRed();
    runBatch();

    EXPECT_EQ(listing(), (QStringList{"a.bmp OK ticked", "b.bmp NG ticked", "c.bmp OK ticked"}));
    EXPECT_EQ(pictures.read("b.bmp"), damaged);
    EXPECT_EQ(pictures.names(), (Names{"a.bak", "a.bmp", "b.bmp", "c.bak", "c.bmp"}));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "BMPエラー");
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(dialogs.messages[0].text,
              "[No.481]\r\nピクチャが不正です。\r\nb.bmp は変換しませんでした。");
    EXPECT_EQ(dialogs.messages[1].text, "変換終了！");
}

// Pictures are read through their real header: a V5 icon grows where its top row is; a
// compressed picture or one whose pixels would lie past its end is no picture to convert, and
// a 16 x 15 icon cut short is not grown. Each such file ends "NG" as its preview reports it.
TEST_F(BatchTest, PicturesAreConvertedThroughTheirRealHeader) {
    BmpSpec v5{.headerSize = 124, .tail = {'P', 'R', 'O', 'F'}};
    for (int i = 0; i < 16 * 15; ++i) {
        v5.pixels.insert(v5.pixels.end(), {255, 0, 0});
    }
    v5.pixels[14 * 48] = 0; // the top left pixel is black
    BmpSpec grown = v5;     // red, the new row stored last (on top), the top left still black
    grown.height = 16;
    grown.pixels.clear();
    for (int i = 0; i < 16 * 16; ++i) {
        grown.pixels.insert(grown.pixels.end(), {0, 0, 255});
    }
    grown.pixels[14 * 48 + 2] = 0;
    auto compressed = makeBmp24(4, 4, Blue);
    compressed[30] = 1;
    auto pastTheEnd = makeBmp24(4, 4, Blue);
    pastTheEnd[11] = 0x10;
    const auto icon = makeBmp24(16, 15, Blue);
    const std::vector<std::uint8_t> cut(icon.begin(), icon.end() - 1);
    pictures.write("a.bmp", makeBmp(v5));
    pictures.write("b.bmp", compressed);
    pictures.write("c.bmp", pastTheEnd);
    pictures.write("d.bmp", cut);
    startBlueToRed();
    runBatch();

    EXPECT_EQ(listing(), (QStringList{"a.bmp OK ticked", "b.bmp NG ticked", "c.bmp NG ticked",
                                      "d.bmp NG ticked"}));
    EXPECT_EQ(pictures.read("a.bmp"), makeBmp(grown));
    EXPECT_EQ(pictures.read("b.bmp"), compressed);
    EXPECT_EQ(pictures.read("c.bmp"), pastTheEnd);
    EXPECT_EQ(pictures.read("d.bmp"), cut);
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messages[0].title, "BMPエラー");
    EXPECT_EQ(dialogs.messages[1].icon, QMessageBox::Critical); // as its preview says
    EXPECT_TRUE(dialogs.messages[1].text.contains("c.bmp"));
    EXPECT_EQ(dialogs.messages[2].title, "変換エラー");
    EXPECT_EQ(dialogs.messages[3].text, "変換終了！");
}

// A real message box opened during the run, here the size message of a window made too narrow,
// takes the user's keys: Enter closes it, and the batch goes on to its end.
TEST_F(BatchTest, AMessageBoxOpenedDuringTheRunCanBeClosedAndTheRunGoesOn) {
    const auto blue = makeBmp24(3, 2, Blue);
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        pictures.write(name, blue);
    }
    startBlueToRed("True", " 0 ");
    bool stuck = false;
    dialogs.onMessage = [&](const FakeDialogs::Message& message) {
        if (message.title != "Pixtint" || message.text == "変換終了！") {
            return;
        }
        QMessageBox box(message.icon, message.title, message.text, QMessageBox::Ok, window.get());
        QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Enter); });
        QTimer::singleShot(3000, &box, [&] {
            stuck = box.isVisible();
            box.hide(); // never leave the test hanging in the box: hiding sends no Close event
        });
        box.exec();
    };
    window->resize(Twips::toPixels(6000), window->height()); // the message waits for the loop
    convertButton()->click();

    EXPECT_FALSE(stuck) << "the box did not take its Enter";
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "これ以上幅を小さくできません！");
    EXPECT_EQ(dialogs.messages[1].text, "変換終了！");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        EXPECT_EQ(pictures.read(name), makeBmp24(3, 2, Red)) << name;
    }
}

TEST_F(BatchTest, AReadOnlyFolderFailsEachFileWithItsMessage) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    const auto blue = makeBmp24(3, 2, Blue);
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", blue);
    std::filesystem::permissions(pictures.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    startBlueToRed();
    EXPECT_TRUE(dialogs.messages.empty()); // the preview needs no writing
    runBatch();

    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].title, "変換エラー");
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("[No.70]\r\n"));
    EXPECT_TRUE(dialogs.messages[1].text.contains("b.bmp"));
    EXPECT_EQ(listing(), (QStringList{"a.bmp NG ticked", "b.bmp NG ticked"}));
    EXPECT_EQ(pictures.read("b.bmp"), blue);
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
    expectOnlyMessage("変換するファイルがありません！", QMessageBox::Warning);
}

} // namespace pixtint
