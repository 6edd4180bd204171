// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/Unprivileged.h"
#include "widgets/Twips.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
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
    // The window's colours and growth reach the conversion; its bytes are the core's to prove.
    EXPECT_EQ(pictures.read("A.BMP"), red);
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
    constexpr int count = 40;
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", blue);
    for (int i = 0; i < count - 2; ++i) {
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
              QString("変換を中止しました。\r\n1 個のファイルを変換しました。\r\n"
                      "1 個のファイルは変換できませんでした。\r\n"
                      "%1 個のファイルは処理されませんでした。")
                  .arg(count - 2));
    EXPECT_EQ(listing().mid(0, 3),
              (QStringList{"a.bmp OK ticked", "b.bmp NG ticked", "c1000.bmp BMP ticked"}));
    // a.bak and no b.bmp: none of the others was converted, each would have its backup.
    EXPECT_EQ(pictures.names().size(), static_cast<std::size_t>(count));
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
    EXPECT_EQ(messageTexts().back(), QString("変換終了！\r\n%1 個のファイルを変換しました。\r\n"
                                             "1 個のファイルは変える色がないため、そのままです。")
                                         .arg(count - 2));
}

INSTANTIATE_TEST_SUITE_P(EscOrClosingTheWindow, StoppedBatchTest, testing::Bool());

// Each frame of a running batch shows one file: its path and size in the status bar, its own
// picture before and after, and the list's selection on it. The frames follow the run.
TEST_F(BatchTest, ThePreviewFollowsTheRunOneFileAFrame) {
    constexpr int count = 800;
    const auto iconOf = [](int i) {
        auto icon = makeBmp24(16, 16, Blue);
        setPixel(icon, 0, 0, Pixel{std::uint8_t(i / 256), std::uint8_t(i % 256), 0});
        return icon;
    };
    for (int i = 0; i < count; ++i) {
        pictures.write(numberedPicture('i', 1000 + i), iconOf(i));
    }
    startBlueToRed("True", " 0 ");
    struct Frame {
        int file;
        QRgb before;
        QRgb beforeBlue;
        QRgb afterBlue;
        int selected;
    };
    std::vector<Frame> frames;
    QString lastPath = statusText(StatusBar::Field::Path);
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const QString path = statusText(StatusBar::Field::Path);
        if (!window->batchRunning() || path == lastPath) {
            return;
        }
        lastPath = path;
        const QImage before = picture(Side::Before);
        const QImage after = picture(Side::After);
        frames.push_back({QFileInfo(path).baseName().mid(1).toInt() - 1000, before.pixel(0, 0),
                          before.pixel(8, 8), after.pixel(8, 8),
                          fileList()->selectedRow().value_or(-1)});
    });
    sampler.start(2);
    convertAndWait();
    sampler.stop();

    ASSERT_GE(frames.size(), 2u) << "the preview stood still";
    int previous = -1;
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.file);
        EXPECT_GT(frame.file, previous);
        previous = frame.file;
        EXPECT_EQ(frame.selected, frame.file);
        EXPECT_EQ(frame.before, qRgb(frame.file / 256, frame.file % 256, 0));
        EXPECT_EQ(frame.beforeBlue, qRgb(0, 0, 255));
        EXPECT_EQ(frame.afterBlue, qRgb(255, 0, 0));
    }
    EXPECT_EQ(messageTexts(), QStringList{"変換終了！"});
}

// The batch converts exactly what its preview can show, and each failure ends its file "NG"
// with a box of its own in list order, the status bar naming the file while the box is up:
// - one gone since the listing (a.bmp) or no reader can show (b.bmp, far too large): its
//   preview's "BMPエラー"; one too wide for the preview to size (j.bmp): [No.6];
// - a 16 x 15 icon cut short (e.bmp), one whose full palette has no entry for the new row
//   (h.bmp), one 0 pixels wide (i.bmp), one no one may write (k.bmp), one whose backup cannot
//   be kept (a folder l.bak, a user's m.bak, a name x.bak two pictures share on a
//   case-sensitive disk): a "変換エラー" naming it.
// Kinds the conversion refuses (no "BM", compressed 24-bit, pixels past the end) are never
// handed over. None of them gets a backup, and an earlier one stays.
TEST_F(BatchTest, EveryFailureEndsNGWithItsOwnBoxAndNoBackup) {
    auto compressed = makeBmp24(4, 4, Blue);
    compressed[30] = 1;
    auto pastTheEnd = makeBmp24(4, 4, Blue);
    pastTheEnd[11] = 0x10;
    auto unsigned24 = makeBmp24(4, 4, Blue);
    unsigned24[0] = 'X';
    const auto icon = makeBmp24(16, 15, Blue);
    BmpRecipe fullPalette; // 16 x 15, no red nor blue in its two entries
    fullPalette.bitCount = 1;
    fullPalette.palette = {Green, {255, 255, 255}};
    fullPalette.pixels = std::vector<std::uint8_t>(4 * 15, 0x55);
    auto noWidth = makeBmp24(4, 4, Blue);
    noWidth[18] = 0;
    constexpr std::uint32_t Width = 43'000'000; // 50 twips a pixel is past 32 bits
    auto wide = makeBmp24(1, 1, Blue);
    for (int byte = 0; byte < 4; ++byte) {
        wide[18 + byte] = static_cast<std::uint8_t>(Width >> (8 * byte));
    }
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", unshowablePicture());
    pictures.write("c.bmp", compressed);
    pictures.write("d.bmp", pastTheEnd);
    pictures.write("e.bmp", std::vector<std::uint8_t>(icon.begin(), icon.end() - 1));
    pictures.write("f.bmp", blue);
    pictures.write("g.bmp", unsigned24);
    pictures.write("h.bmp", makeBmp(fullPalette));
    pictures.write("h.bak", red);
    pictures.write("i.bmp", noWidth);
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

    const QStringList list = listing();
    ASSERT_EQ(list.size(), 15);
    EXPECT_EQ(
        list.mid(0, 13),
        (QStringList{"a.bmp NG ticked", "b.bmp NG ticked", "c.bmp NoChg ticked",
                     "d.bmp NoChg ticked", "e.bmp NG ticked", "f.bmp OK ticked",
                     "g.bmp NoChg ticked", "h.bmp NG ticked", "i.bmp NG ticked", "j.bmp NG ticked",
                     "k.bmp NG ticked", "l.bmp NG ticked", "m.bmp NG ticked"}));
    EXPECT_TRUE(list[13].endsWith("NG ticked") && list[14].endsWith("NG ticked"));
    EXPECT_EQ(pictures.names(), (Names{"b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bak", "f.bmp",
                                       "g.bmp", "h.bak", "h.bmp", "i.bmp", "j.bmp", "k.bmp",
                                       "l.bak", "l.bmp", "m.bak", "m.bmp", "x.BMP", "x.bmp"}));
    EXPECT_EQ(pictures.read("m.bak"), (std::vector<std::uint8_t>{'n', 'o', 't', 'e', 's'}));
    const QStringList boxed{"a", "b", "e", "h", "i", "j", "k", "l", "m", "x", "x"};
    ASSERT_EQ(messageTitles(), (QStringList{"BMPエラー", "BMPエラー", "変換エラー", "変換エラー",
                                            "変換エラー", "BMPエラー", "変換エラー", "変換エラー",
                                            "変換エラー", "変換エラー", "変換エラー", "Pixtint"}));
    for (int box = 0; box < boxed.size(); ++box) {
        const QString& text = dialogs.messages[box].text;
        EXPECT_TRUE(text.contains(boxed[box] + ".")) << text.toStdString();
        EXPECT_TRUE(pathsAtBoxes[box].startsWith(pictureFolderText() + '/' + boxed[box] + '.'))
            << pathsAtBoxes[box].toStdString();
    }
    EXPECT_EQ(dialogs.messages[0].text,
              "[No.53]\r\nファイルが見つかりません。\r\na.bmp は変換しませんでした。");
    EXPECT_EQ(dialogs.messages[1].icon, QMessageBox::Critical);
    EXPECT_EQ(dialogs.messages[1].text,
              "[No.481]\r\nピクチャが不正です。\r\nb.bmp は変換しませんでした。");
    EXPECT_TRUE(dialogs.messages[3].text.contains("パレット")) << "the full palette's reason";
    EXPECT_EQ(dialogs.messages[5].text,
              "[No.6]\r\nオーバーフローしました。\r\nj.bmp は変換しませんでした。");
    EXPECT_TRUE(dialogs.messages[6].text.contains("k.bmp は読み取り専用のため"));
    EXPECT_TRUE(dialogs.messages[7].text.startsWith("[No.75]\r\n"));
    EXPECT_TRUE(dialogs.messages[8].text.endsWith(
        "\r\nm.bak はバックアップではないため、そのまま残しました。m.bmp は変換しませんでした。"));
    for (const int box : {9, 10}) {
        EXPECT_TRUE(dialogs.messages[box].text.contains("x.BMP") &&
                    dialogs.messages[box].text.contains("x.bmp"));
    }
}

// A real message box opened during the run, here the size message of a window made too narrow,
// takes the user's keys: Enter closes it, and the batch goes on to its end.
TEST_F(BatchTest, AMessageBoxOpenedDuringTheRunCanBeClosedAndTheRunGoesOn) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        pictures.write(name, blue);
    }
    startBlueToRed("True", " 0 ");
    bool stuck = false;
    dialogs.onMessage = [&](const FakeDialogs::Message& message) {
        if (message.text == "変換終了！") {
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
    convertAndWait();

    EXPECT_FALSE(stuck) << "the box did not take its Enter";
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "これ以上幅を小さくできません！");
    EXPECT_EQ(dialogs.messages[1].text, "変換終了！");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        EXPECT_EQ(pictures.read(name), red) << name;
    }
}

// A folder that cannot be written is told once, in a box naming it and the system's reason;
// every ticked file of it ends "NG", one with nothing to change too, and the closing box
// counts them.
TEST_F(BatchTest, AReadOnlyFolderIsToldOnceAndEveryTickedFileOfItEndsNG) {
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", red);
    pictures.write("c.bmp", blue);
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
    EXPECT_EQ(listing(), (QStringList{"a.bmp NG ticked", "b.bmp NG ticked", "c.bmp NG ticked"}));
    EXPECT_EQ(
        dialogs.messages[1].text,
        "変換終了！\r\n0 個のファイルを変換しました。\r\n3 個のファイルは変換できませんでした。");
}

} // namespace pixtint
