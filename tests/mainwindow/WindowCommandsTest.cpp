// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

// What the window offers beside its buttons: the list's context menu (undo and the ticks),
// the keyboard shortcuts and a folder dropped on it.
class WindowCommands : public MainWindowFixture {
protected:
    void trigger(const QString& name) {
        for (QAction* action : fileList()->actions()) {
            if (action->objectName() == name) {
                action->trigger();
                settle();
                return;
            }
        }
        ADD_FAILURE() << "no list action " << name.toStdString();
    }
    void activate() {
        QApplication::setActiveWindow(window.get());
        settle();
    }
    void press(const QKeySequence& keys) {
        QTest::keySequence(window.get(), keys);
        settle();
    }
    // Drags `urls` over the file list and drops them there, as a file manager would, offering
    // `actions`; answers how the window took the drop (IgnoreAction when it refused it).
    Qt::DropAction drop(const QList<QUrl>& urls,
                        Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QMimeData data;
        data.setUrls(urls);
        QWidget* target = fileList()->viewport();
        const QPoint point = target->rect().center();
        QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        settle();
        if (!enter.isAccepted() || !dropped.isAccepted()) {
            return Qt::IgnoreAction;
        }
        EXPECT_EQ(enter.dropAction(), dropped.dropAction());
        return dropped.dropAction();
    }
    QUrl urlIn(const QString& name) const {
        return QUrl::fromLocalFile(pictureFolderText() + '/' + name);
    }
    std::vector<std::uint8_t> original = makeBmp24(2, 2, Blue);
    std::vector<std::uint8_t> converted = makeBmp24(2, 2, Red);
};

// Esc right after the restore starts: it stops after the picture in hand, and the closing box
// counts the pictures put back and those left beside their backups.
TEST_F(WindowCommands, EscStopsARestorePartWay) {
    constexpr int Count = 1000;
    for (int i = 0; i < Count; ++i) {
        pictures.write(std::to_string(i) + ".bmp", converted);
        pictures.write(std::to_string(i) + ".bak", original);
    }
    startBlueToRed();
    activate();
    fileList()->actions().front()->trigger();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    settle();

    // A backup put back takes its picture's place; what each holds then is the core's to prove.
    const auto restored = static_cast<int>(2 * Count - pictures.names().size());
    EXPECT_LT(restored, Count);
    EXPECT_EQ(messageTexts().back(), QString("元に戻すのを中止しました。\r\n"
                                             "%1 個のファイルを元に戻しました。\r\n"
                                             "%2 個のファイルは処理されませんでした。")
                                         .arg(restored)
                                         .arg(Count - restored));
    EXPECT_FALSE(busyPointerShown());
}

// The list's menu offers undo and the ticks; the ticks change, nothing else: the selection and
// the preview stay where they were. A restore puts back the ticked files' backups, one picture
// of each kind: put back, no backup, a user's file in the backup's place, a picture whose place
// the backup cannot take (a folder of that name), and one left unticked.
TEST_F(WindowCommands, TheListMenuTicksAndRestoresTheTickedFilesAndReadsTheListAgain) {
    for (const char* name : {"a", "b", "c", "e"}) {
        pictures.write(std::string(name) + ".bmp", converted);
    }
    pictures.write("a.bak", original);
    pictures.write("c.bak", {'n', 'o', 't', 'e'});
    fs::create_directory(pictures / "d.bmp");
    pictures.write("d.bak", original);
    pictures.write("e.bak", original);
    startBlueToRed();
    QStringList menu;
    for (const QAction* action : fileList()->actions()) {
        menu << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(fileList()->contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(menu, QStringList({"バックアップから元に戻す", "-", "すべて選択", "すべて解除"}));
    show(2);
    const QImage shown = picture(Side::After);
    trigger("tickNone");
    EXPECT_EQ(fileList()->selectedRow(), 2);
    EXPECT_EQ(picture(Side::After), shown);
    trigger("restoreFromBackup");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "元に戻すファイルがありません！");
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(pictures.read("a.bak"), original) << "nothing ticked, nothing touched";

    dialogs.messages.clear();
    trigger("tickAll");
    EXPECT_EQ(listing(), QStringList({"a.bmp BMP ticked", "b.bmp BMP ticked", "c.bmp BMP ticked",
                                      "d.bmp NoChg ticked", "e.bmp BMP ticked"}));
    fileList()->setTicked(4, false);
    fileList()->setMark(0, ItemMark::Converted); // as a batch leaves it
    trigger("restoreFromBackup");

    // Only a.bak took its picture's place: e.bmp was unticked.
    EXPECT_EQ(pictures.read("a.bmp"), original);
    EXPECT_EQ(pictures.names(), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bak", "c.bmp",
                                                          "d.bak", "d.bmp", "e.bak", "e.bmp"}));

    ASSERT_EQ(dialogs.messages.size(), 2u);
    const FakeDialogs::Message& failure = dialogs.messages[0];
    EXPECT_EQ(failure.title, "復元エラー");
    EXPECT_EQ(failure.icon, QMessageBox::Critical);
    EXPECT_TRUE(failure.text.startsWith("[No.") &&
                failure.text.endsWith("\r\nd.bmp は元に戻せませんでした。"))
        << failure.text.toStdString();
    EXPECT_EQ(dialogs.messages[1].text, "1 個のファイルを元に戻しました。\r\n"
                                        "1 個のファイルにはバックアップがありませんでした。\r\n"
                                        "1 個のファイルは、その .bak がバックアップではないため、"
                                        "元に戻しませんでした。\r\n"
                                        "1 個のファイルは元に戻せませんでした。");
    EXPECT_EQ(listing(), QStringList({"a.bmp BMP ticked", "b.bmp BMP ticked", "c.bmp BMP ticked",
                                      "d.bmp NoChg", "e.bmp BMP ticked"}))
        << "read again: marks and ticks as a refresh gives them";
}

// F5 refreshes, Ctrl+O chooses a folder, a folder or a file dropped on the window is chosen and
// listed, and Ctrl+Q leaves as the exit button does; while a pick waits for its click, the
// window takes neither shortcuts nor drops.
TEST_F(WindowCommands, ShortcutsAndDropsChooseFoldersAndLeaveExceptDuringAPick) {
    fs::create_directories(pictures / "icons");
    pictures.write("icons/save.bmp", makeBmp24(16, 16, Blue));
    pictures.write("open.bmp", makeBmp24(16, 16, Blue));
    startBlueToRed();
    activate();
    pictures.write("new.bmp", makeBmp24(16, 16, Blue));
    pickButton(Side::Before)->click();
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_O),
                                     QKeySequence(Qt::CTRL | Qt::Key_Q)}) {
        press(keys);
    }
    EXPECT_EQ(drop({urlIn("icons")}), Qt::IgnoreAction);
    EXPECT_EQ(listing(), QStringList({"open.bmp BMP ticked"}));
    EXPECT_TRUE(dialogs.folderTitles.isEmpty());
    EXPECT_TRUE(window->isVisible());

    press(Qt::Key_Escape);
    ASSERT_FALSE(window->picking());
    press(Qt::Key_F5);
    EXPECT_EQ(listing(), QStringList({"new.bmp BMP ticked", "open.bmp BMP ticked"}));
    dialogs.folderAnswers.push_back(pictureFolderText() + "/icons/");
    press(Qt::CTRL | Qt::Key_O);
    EXPECT_EQ(dialogs.folderTitles, QStringList{"フォルダを選択してください"});
    EXPECT_EQ(listing(), QStringList({"save.bmp BMP ticked"}));

    EXPECT_EQ(drop({urlIn("open.bmp"), urlIn("icons")}, Qt::LinkAction | Qt::CopyAction),
              Qt::LinkAction)
        << "the first of several";
    EXPECT_EQ(folderLabel()->text(), pictureFolderText()) << "a file stands for its folder";
    EXPECT_EQ(listing(), QStringList({"new.bmp BMP ticked", "open.bmp BMP ticked"}));
    EXPECT_EQ(drop({QUrl("https://example.org/icons/"), urlIn("icons")}), Qt::IgnoreAction);
    EXPECT_EQ(drop({urlIn("icons/")}), Qt::CopyAction)
        << "never a move: the file manager must not think the folder went anywhere";
    EXPECT_EQ(folderLabel()->text(), pictureFolderText() + "/icons");
    EXPECT_EQ(fileCountLabel()->text(), "ファイル総数＝1");

    press(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(
        savedSettings(programFolder).startsWith(pictureFolderText().toUtf8() + "/icons\r\n"));
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace

} // namespace pixtint
