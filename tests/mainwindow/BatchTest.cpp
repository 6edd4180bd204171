// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/Unprivileged.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace pixtint {

using Names = std::vector<std::string>;

// "c1000.bmp" and on: numbers of one width keep the list in the order they were written. (Built
// by appending: GCC 12 warns wrongly of overlapping copies in "c" + std::to_string(n).)
namespace {
std::string numberedPicture(char prefix, int number) {
    std::string name(1, prefix);
    name += std::to_string(number);
    name += ".bmp";
    return name;
}
} // namespace

// The batch as the window shows it: marks, boxes, the busy pointer and the preview. What each
// converted file holds and what happens to its backup are the core's to prove.
class BatchTest : public MainWindowFixture {
protected:
    // Presses "変換実行", noting whether the busy pointer was up while a message box was.
    void runBatch() {
        dialogs.messages.clear();
        dialogs.onMessage = [this](const FakeDialogs::Message&) {
            busyAtMessage = busyPointerShown();
        };
        convertAndWait();
    }
    // The batch said only `text`, with the window at rest by then and afterwards.
    void expectOnlyMessage(const QString& text,
                           QMessageBox::Icon icon = QMessageBox::NoIcon) const {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].icon, icon);
        EXPECT_EQ(busyAtMessage, false);
        EXPECT_FALSE(busyPointerShown());
    }

    std::optional<bool> busyAtMessage;
    const std::vector<std::uint8_t> blue = makeBmp24(3, 2, Blue);
    const std::vector<std::uint8_t> red = makeBmp24(3, 2, Red);
};

TEST_F(BatchTest, ConvertsTheTickedFilesUnderTheirOwnNamesAndBacksUpTheirOldBytes) {
    auto icon = makeBmp24(16, 15, Blue);
    setPixel(icon, 0, 0, Green);
    auto grownIcon = makeBmp24(16, 16, Red); // a row of the TO colour on top, converted
    setPixel(grownIcon, 0, 1, Green);
    pictures.write("A.BMP", blue);
    pictures.write("b.bmp", makeBmp24(4, 4, Green)); // nothing to convert: "OK", no backup
    pictures.write("icon.bmp", icon);
    pictures.write("p.bmp", makeBmpWithBitCount(4, 4, 16)); // a kind that is not converted
    pictures.write("u.bmp", blue);
    startBlueToRed();
    fileList()->setTicked(4, false);
    runBatch();

    expectOnlyMessage("変換終了！\r\n2 個のファイルを変換しました。\r\n"
                      "1 個のファイルは変える色がないため、そのままです。");
    EXPECT_EQ(listing(), (QStringList{"A.BMP OK ticked", "b.bmp OK ticked", "icon.bmp OK ticked",
                                      "p.bmp NoChg", "u.bmp BMP"}));
    EXPECT_EQ(pictures.names(),
              (Names{"A.BMP", "A.bak", "b.bmp", "icon.bak", "icon.bmp", "p.bmp", "u.bmp"}));
    // The window's colours and growth reach the conversion.
    EXPECT_EQ(pictures.read("icon.bmp"), grownIcon);

    // The closing preview only shows: it must not convert the selected file, never ticked.
    fileList()->setAllTicked(false);
    fileList()->selectRow(4);
    runBatch();
    expectOnlyMessage("変換終了！");
    EXPECT_EQ(pictures.read("u.bmp"), blue);
}

TEST_F(BatchTest, WithoutBackupsAndSettingsLineFiveFalseTheRowGoesAtTheBottom) {
    startBlueToRed("False", " 0 ");
    runBatch();
    expectOnlyMessage("変換するファイルがありません！", QMessageBox::Warning);

    auto icon = makeBmp24(16, 15, Blue);
    setPixel(icon, 0, 0, Green);
    pictures.write("icon.bmp", icon);
    refreshButton()->click();
    settle();
    runBatch();
    auto grown = makeBmp24(16, 16, Red);
    setPixel(grown, 0, 0, Green);
    EXPECT_EQ(pictures.read("icon.bmp"), grown);
    EXPECT_EQ(pictures.names(), Names{"icon.bmp"});
}

// Esc in a failure box, or closing the window while it is up, stops the run after that box,
// and the closing box says so with its counts; closing then leaves without saving the
// settings. Here the second file is gone since the listing, so exactly the first file was
// converted.
class StoppedBatchTest : public BatchTest, public testing::WithParamInterface<bool> {};

TEST_P(StoppedBatchTest, TheRunStopsAfterTheBoxAndTheClosingBoxCountsWhatWasDone) {
    const bool closing = GetParam();
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", blue);
    for (int i = 0; i < 8; ++i) {
        pictures.write(numberedPicture('c', 1000 + i), blue);
    }
    startBlueToRed();
    std::filesystem::remove(pictures / "b.bmp");
    const QByteArray settings = savedSettings(programFolder);
    dialogs.onMessage = [&](const FakeDialogs::Message& message) {
        if (message.title == "BMPエラー" && message.text.contains("b.bmp は変換")) {
            if (closing) {
                window->close();
            } else {
                dialogs.escapeThisBox = true;
            }
        }
    };
    convertAndWait();

    // The failure's box, the closing preview's of b.bmp where the run ended, and the end.
    ASSERT_EQ(messageTitles(), (QStringList{"BMPエラー", "BMPエラー", "Pixtint"}));
    EXPECT_EQ(dialogs.messages.back().text,
              "変換を中止しました。\r\n1 個のファイルを変換しました。\r\n"
              "1 個のファイルは変換できませんでした。\r\n"
              "8 個のファイルは処理されませんでした。");
    EXPECT_EQ(listing().mid(0, 3),
              (QStringList{"a.bmp OK ticked", "b.bmp NG ticked", "c1000.bmp BMP ticked"}));
    EXPECT_FALSE(busyPointerShown());
    EXPECT_EQ(window->isVisible(), !closing);
    if (closing) {
        EXPECT_EQ(savedSettings(programFolder), settings);
        return;
    }
    // A run that reaches its end says so, whatever was asked before: a.bmp has nothing left
    // to change.
    dialogs.onMessage = nullptr;
    dialogs.messages.clear();
    convertAndWait();
    EXPECT_EQ(messageTexts().back(), "変換終了！\r\n8 個のファイルを変換しました。\r\n"
                                     "1 個のファイルは変える色がないため、そのままです。");
}

INSTANTIATE_TEST_SUITE_P(EscOrClosingTheWindow, StoppedBatchTest, testing::Bool());

// The batch converts exactly what its preview can show, and each failure ends its file "NG"
// with a box of its own in list order, the status bar naming the file while the box is up.
// A kind the conversion refuses (no "BM") is never handed over, and says nothing.
TEST_F(BatchTest, EveryFailureEndsNGWithItsOwnBoxInListOrder) {
    auto notBm = makeBmp24(4, 4, Blue);
    notBm[0] = 'X';
    BmpRecipe fullPalette; // 16 x 15, no red nor blue in its two entries
    fullPalette.bitCount = 1;
    fullPalette.palette = {Green, {255, 255, 255}};
    fullPalette.pixels = std::vector<std::uint8_t>(4 * 15, 0x55);
    constexpr std::uint32_t Width = 43'000'000; // 50 twips a pixel is past 32 bits
    auto wide = makeBmp24(1, 1, Blue);
    for (int byte = 0; byte < 4; ++byte) {
        wide[18 + byte] = static_cast<std::uint8_t>(Width >> (8 * byte));
    }
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", unshowablePicture());
    pictures.write("c.bmp", notBm);
    pictures.write("f.bmp", blue);
    pictures.write("h.bmp", makeBmp(fullPalette));
    pictures.write("j.bmp", wide);
    std::filesystem::resize_file(pictures / "j.bmp", 54 + std::uintmax_t{Width} * 3); // a hole
    pictures.write("k.bmp", blue);
    std::filesystem::permissions(pictures / "k.bmp", std::filesystem::perms(0444));
    pictures.write("l.bmp", blue);
    std::filesystem::create_directory(pictures / "l.bak");
    pictures.write("m.bmp", blue);
    pictures.write("m.bak", {'n', 'o', 't', 'e', 's'});
    pictures.write("x.BMP", blue);
    pictures.write("x.bmp", blue);
    startBlueToRed();
    fileList()->setAllTicked(true);
    std::filesystem::remove(pictures / "a.bmp");
    QStringList pathsAtBoxes;
    dialogs.onMessage = [&](const FakeDialogs::Message&) {
        pathsAtBoxes << statusText(StatusBar::Field::Path);
    };
    convertAndWait();

    EXPECT_EQ(listing(), (QStringList{"a.bmp NG ticked", "b.bmp NG ticked", "c.bmp NoChg ticked",
                                      "f.bmp OK ticked", "h.bmp NG ticked", "j.bmp NG ticked",
                                      "k.bmp NG ticked", "l.bmp NG ticked", "m.bmp NG ticked",
                                      "x.BMP NG ticked", "x.bmp NG ticked"}));
    // Each box: the file the status bar names meanwhile, its title and what it says.
    const std::tuple<QString, QString, QString> boxes[] = {
        {"a.bmp", "BMPエラー",
         "[No.53]\r\nファイルが見つかりません。\r\na.bmp は変換しませんでした。"},
        {"b.bmp", "BMPエラー", "[No.481]\r\nピクチャが不正です。\r\nb.bmp は変換しませんでした。"},
        {"h.bmp", "変換エラー", "パレット"},
        {"j.bmp", "BMPエラー",
         "[No.6]\r\nオーバーフローしました。\r\nj.bmp は変換しませんでした。"},
        {"k.bmp", "変換エラー", "k.bmp は読み取り専用のため"},
        {"l.bmp", "変換エラー", "[No.75]\r\n"},
        {"m.bmp", "変換エラー",
         "\r\nm.bak はバックアップではないため、そのまま残しました。m.bmp は変換しませんでした。"},
        {"x.BMP", "変換エラー", "x.bmp"},
        {"x.bmp", "変換エラー", "x.BMP"}};
    ASSERT_EQ(dialogs.messages.size(), std::size(boxes) + 1);
    for (std::size_t box = 0; box < std::size(boxes); ++box) {
        const auto& [name, title, words] = boxes[box];
        EXPECT_EQ(pathsAtBoxes[box], pictureFolderText() + '/' + name);
        EXPECT_EQ(dialogs.messages[box].title, title) << name.toStdString();
        EXPECT_TRUE(dialogs.messages[box].text.contains(words))
            << dialogs.messages[box].text.toStdString();
    }
    EXPECT_EQ(dialogs.messages[1].icon, QMessageBox::Critical);
    EXPECT_EQ(dialogs.messages.back().title, "Pixtint");
}

// A folder that cannot be written is told once, in a box naming it and the system's reason;
// every ticked file of it ends "NG", one with nothing to change too, and the closing box
// counts them.
TEST_F(BatchTest, AReadOnlyFolderIsToldOnceAndEveryTickedFileOfItEndsNG) {
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", red);
    std::filesystem::permissions(pictures.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    // The window has threads, so a forked child could not run it: the whole process acts as
    // nobody until the test ends, and as root again after.
    const UnprivilegedScope unprivileged{pictures.path(), programFolder.path()};
    startBlueToRed();
    EXPECT_TRUE(dialogs.messages.empty()); // the preview needs no writing
    runBatch();

    ASSERT_EQ(messageTitles(), (QStringList{"変換エラー", "Pixtint"}));
    const QString& box = dialogs.messages[0].text;
    EXPECT_TRUE(box.startsWith("[No.70]\r\n") && box.contains(pictureFolderText()) &&
                box.contains(QString::fromLocal8Bit(std::strerror(EACCES))))
        << box.toStdString();
    EXPECT_EQ(listing(), (QStringList{"a.bmp NG ticked", "b.bmp NG ticked"}));
    EXPECT_EQ(
        dialogs.messages[1].text,
        "変換終了！\r\n0 個のファイルを変換しました。\r\n2 個のファイルは変換できませんでした。");
}

} // namespace pixtint
