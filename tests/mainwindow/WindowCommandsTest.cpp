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
    QAction* listAction(const QString& name) const {
        for (QAction* action : fileList()->actions()) {
            if (action->objectName() == name) {
                return action;
            }
        }
        ADD_FAILURE() << "no list action " << name.toStdString();
        return nullptr;
    }
    QStringList listMenuTexts() const {
        QStringList texts;
        for (const QAction* action : fileList()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return texts;
    }
    void activate() {
        QApplication::setActiveWindow(window.get());
        settle();
    }
    void press(int keys) {
        QTest::keySequence(window.get(), QKeySequence(keys));
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
    std::vector<std::uint8_t> original = makeBmp24(2, 2, Blue);
    std::vector<std::uint8_t> converted = makeBmp24(2, 2, Red);
};

TEST_F(WindowCommands, TheListMenuOffersUndoAndTheTicksOfEveryFile) {
    startBlueToRed();
    EXPECT_EQ(fileList()->contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(listMenuTexts(),
              QStringList({"バックアップから元に戻す", "-", "すべて選択", "すべて解除"}));
}

// One picture of each kind: put back, no backup, a user's file in the backup's place, a
// picture whose place the backup cannot take (a folder of that name), and one left unticked.
TEST_F(WindowCommands, RestorePutsBackTheTickedFilesBackupsAndReadsTheListAgain) {
    for (const char* name : {"a", "b", "c", "e"}) {
        pictures.write(std::string(name) + ".bmp", converted);
    }
    pictures.write("a.bak", original);
    pictures.write("c.bak", {'n', 'o', 't', 'e'});
    fs::create_directory(pictures / "d.bmp");
    pictures.write("d.bak", original);
    pictures.write("e.bak", original);
    startBlueToRed();
    fileList()->setTicked(3, true);
    fileList()->setTicked(4, false);
    fileList()->setMark(0, ItemMark::Converted); // as a batch leaves it

    listAction("restoreFromBackup")->trigger();
    settle();

    EXPECT_EQ(pictures.read("a.bmp"), original);
    EXPECT_FALSE(fs::exists(pictures / "a.bak")) << "the backup took the picture's place";
    for (const char* name : {"b.bmp", "c.bmp", "e.bmp"}) {
        EXPECT_EQ(pictures.read(name), converted) << name;
    }
    EXPECT_EQ(pictures.read("c.bak"), std::vector<std::uint8_t>({'n', 'o', 't', 'e'}));
    EXPECT_TRUE(fs::is_directory(pictures / "d.bmp"));
    EXPECT_EQ(pictures.read("d.bak"), original) << "kept when it cannot be put back";
    EXPECT_EQ(pictures.read("e.bak"), original) << "unticked";

    ASSERT_EQ(dialogs.messages.size(), 2u);
    const FakeDialogs::Message& failure = dialogs.messages[0];
    EXPECT_EQ(failure.title, "復元エラー");
    EXPECT_EQ(failure.icon, QMessageBox::Critical);
    EXPECT_TRUE(failure.text.startsWith("[No.")) << failure.text.toStdString();
    EXPECT_TRUE(failure.text.endsWith("\r\nd.bmp は元に戻せませんでした。"))
        << failure.text.toStdString();
    EXPECT_EQ(dialogs.messages[1].text, "1 個のファイルを元に戻しました。\r\n"
                                        "1 個のファイルにはバックアップがありませんでした。\r\n"
                                        "1 個のファイルは、その .bak がバックアップではないため、"
                                        "元に戻しませんでした。\r\n"
                                        "1 個のファイルは元に戻せませんでした。");
    EXPECT_EQ(dialogs.messages[1].title, "Pixtint");
    EXPECT_EQ(listing(), QStringList({"a.bmp BMP ticked", "b.bmp BMP ticked", "c.bmp BMP ticked",
                                      "d.bmp NoChg", "e.bmp BMP ticked"}))
        << "read again: marks and ticks as a refresh gives them";
}

TEST_F(WindowCommands, RestoreWithNothingTickedSaysSoAndTouchesNothing) {
    pictures.write("a.bmp", converted);
    pictures.write("a.bak", original);
    startBlueToRed();
    listAction("tickNone")->trigger();

    listAction("restoreFromBackup")->trigger();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "元に戻すファイルがありません！");
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(pictures.read("a.bak"), original);
    EXPECT_EQ(listing(), QStringList({"a.bmp BMP"}));
}

// The ticks change, nothing else: the selection and the preview stay where they were.
TEST_F(WindowCommands, SelectAllAndNoneTickEveryFileWhateverItsMark) {
    pictures.write("a.bmp", makeBmp24(2, 2, Blue));
    pictures.write("b.bmp", {'B', 'M', 0, 0}); // not convertible: unticked by the refresh
    pictures.write("c.bmp", makeBmp24(2, 2, Blue));
    startBlueToRed();
    show(2);
    const QImage shown = picture(Side::After);

    listAction("tickAll")->trigger();
    EXPECT_EQ(listing(),
              QStringList({"a.bmp BMP ticked", "b.bmp NoChg ticked", "c.bmp BMP ticked"}));
    listAction("tickNone")->trigger();
    EXPECT_EQ(listing(), QStringList({"a.bmp BMP", "b.bmp NoChg", "c.bmp BMP"}));

    EXPECT_EQ(fileList()->selectedRow(), 2);
    EXPECT_EQ(picture(Side::After), shown);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowCommands, AFolderOrAFileDroppedOnTheWindowIsChosenAndListed) {
    fs::create_directories(pictures / "icons");
    pictures.write("icons/save.bmp", makeBmp24(16, 16, Blue));
    pictures.write("open.bmp", makeBmp24(16, 16, Blue));
    startBlueToRed();
    ASSERT_EQ(listing(), QStringList({"open.bmp BMP ticked"}));

    EXPECT_EQ(drop({QUrl::fromLocalFile(pictureFolderText() + "/icons/")}), Qt::CopyAction)
        << "never a move: the file manager must not think the folder went anywhere";
    EXPECT_EQ(folderLabel()->text(), pictureFolderText() + "/icons");
    EXPECT_EQ(listing(), QStringList({"save.bmp BMP ticked"}));
    EXPECT_EQ(fileCountLabel()->text(), "ファイル総数＝1");

    EXPECT_EQ(drop({QUrl::fromLocalFile(pictureFolderText() + "/open.bmp"),
                    QUrl::fromLocalFile(pictureFolderText() + "/icons")},
                   Qt::LinkAction | Qt::CopyAction),
              Qt::LinkAction)
        << "the first of several";
    EXPECT_EQ(folderLabel()->text(), pictureFolderText()) << "a file stands for its folder";
    EXPECT_EQ(listing(), QStringList({"open.bmp BMP ticked"}));

    EXPECT_NE(drop({QUrl::fromLocalFile("/")}), Qt::IgnoreAction);
    EXPECT_EQ(folderLabel()->text(), "") << "the root is held as the empty text";
}

TEST_F(WindowCommands, ADropOfNoFolderOrDuringAPickChangesNothing) {
    fs::create_directories(pictures / "icons");
    startBlueToRed();
    const QUrl icons = QUrl::fromLocalFile(pictureFolderText() + "/icons");
    EXPECT_EQ(drop({QUrl("https://example.org/icons/"), icons}), Qt::IgnoreAction);
    EXPECT_EQ(drop({QUrl::fromLocalFile(pictureFolderText() + "/gone")}), Qt::IgnoreAction);
    EXPECT_EQ(drop({icons}, Qt::MoveAction), Qt::IgnoreAction) << "a move only";

    pickButton(Side::Before)->click(); // the pick waits for its click on a preview
    EXPECT_EQ(drop({icons}), Qt::IgnoreAction);
    EXPECT_EQ(folderLabel()->text(), pictureFolderText());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowCommands, F5RefreshesAndCtrlOChoosesAFolder) {
    fs::create_directories(pictures / "icons");
    pictures.write("icons/save.bmp", makeBmp24(16, 16, Blue));
    startBlueToRed();
    activate();
    pictures.write("new.bmp", makeBmp24(16, 16, Blue));
    press(Qt::Key_F5);
    EXPECT_EQ(listing(), QStringList({"new.bmp BMP ticked"}));

    dialogs.folderAnswers.push_back(pictureFolderText() + "/icons/");
    press(Qt::CTRL | Qt::Key_O);
    EXPECT_EQ(dialogs.folderTitles, QStringList{"フォルダを選択してください"});
    EXPECT_EQ(folderLabel()->text(), pictureFolderText() + "/icons");
    EXPECT_EQ(listing(), QStringList({"save.bmp BMP ticked"}));
}

// As the exit button: the settings file holds the session, and the window is gone.
TEST_F(WindowCommands, CtrlQLeavesAndKeepsTheSettings) {
    start();
    activate();
    dialogs.folderAnswers.push_back(pictureFolderText());
    browseButton()->click();
    press(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(window->isVisible());
    const auto saved = programFolder.read("Pixtint.ini");
    EXPECT_TRUE(QByteArray(reinterpret_cast<const char*>(saved.data()), std::ssize(saved))
                    .startsWith(pictureFolderText().toUtf8() + "\r\n"));
}

TEST_F(WindowCommands, ShortcutsWaitWhileAPickWaitsForItsClick) {
    pictures.write("icon.bmp", makeBmp24(16, 16, Blue));
    startBlueToRed();
    activate();
    pickButton(Side::Before)->click();
    pictures.write("new.bmp", makeBmp24(16, 16, Blue));
    press(Qt::Key_F5);
    press(Qt::CTRL | Qt::Key_O);
    press(Qt::CTRL | Qt::Key_Q);
    EXPECT_EQ(listing(), QStringList({"icon.bmp BMP ticked"}));
    EXPECT_TRUE(dialogs.folderTitles.isEmpty());
    EXPECT_TRUE(window->isVisible());
}

// A message box in the middle of a batch takes input; the window behind it takes no command.
TEST_F(WindowCommands, ShortcutsAndDropsWaitWhileABatchRuns) {
    auto damaged = makeBmp24(4, 4, Blue);
    damaged[0] = 'X'; // a "BMPエラー" box in the middle of the run
    pictures.write("a.bmp", damaged);
    pictures.write("b.bmp", makeBmp24(4, 4, Blue));
    fs::create_directories(pictures / "icons");
    startBlueToRed();
    activate();
    dialogs.onMessage = [this](const FakeDialogs::Message& message) {
        if (message.title == "BMPエラー") {
            pictures.write("new.bmp", makeBmp24(4, 4, Blue));
            press(Qt::Key_F5);
            press(Qt::CTRL | Qt::Key_Q);
            EXPECT_EQ(drop({QUrl::fromLocalFile(pictureFolderText() + "/icons")}),
                      Qt::IgnoreAction);
        }
    };
    convertButton()->click();
    settle();

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(folderLabel()->text(), pictureFolderText());
    EXPECT_EQ(listing(), QStringList({"a.bmp NG ticked", "b.bmp OK ticked"}));
    EXPECT_EQ(dialogs.messages.back().text, "変換終了！");
}

} // namespace

} // namespace pixtint
