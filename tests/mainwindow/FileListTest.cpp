#include "tests/mainwindow/MainWindowFixture.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <filesystem>

namespace pixtint {

using FileListTest = MainWindowFixture;

TEST_F(FileListTest, TicksTheTwentyFourBitPicturesAndSelectsTheFirstEntry) {
    pictures.write("icon.bmp", makeBmp24(16, 15, Blue));
    pictures.write("palette.bmp", makeBmpWithBitCount(8, 8, 8));
    pictures.write("short.bmp", std::vector<std::uint8_t>(10, 0x18));
    pictures.write("notes.txt", makeBmp24(2, 2, {}));
    std::filesystem::create_directory(pictures / "folder.bmp");
    rememberPictureFolder();
    start();

    EXPECT_EQ(listing(), (QStringList{"folder.bmp NoChg", "icon.bmp BMP ticked",
                                      "palette.bmp NoChg", "short.bmp NoChg"}));
    EXPECT_EQ(control<Label>("Label5")->Caption(), "ファイル総数＝4");
    EXPECT_TRUE(item(1).Selected());
    EXPECT_EQ(window->MousePointer(), 0);
}

TEST_F(FileListTest, AChosenFolderIsKeptWithoutTrailingSeparatorAndListedAfresh) {
    start(); // without settings, on the program folder: nothing to list, and nothing said
    EXPECT_EQ(control<ListView>("ListView1")->Count(), 0);
    EXPECT_EQ(control<Label>("Label5")->Caption(), "ファイル総数＝0");
    EXPECT_EQ(panel(2) + panel(3), "");
    EXPECT_TRUE(dialogs.messages.empty());

    pictures.write("a.bmp", makeBmp24(2, 2, {}));

    dialogs.folderAnswers.push_back(pictureFolderText() + "//");
    QTest::mouseClick(control<CommandButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(dialogs.folderTitles.value(0), "フォルダを選択してください");
    EXPECT_EQ(control<Label>("Label1")->Caption(), pictureFolderText());
    EXPECT_EQ(listing(), QStringList{"a.bmp BMP ticked"});

    QTest::mouseClick(control<CommandButton>("Command2"),
                      Qt::LeftButton); // cancelled: nothing changes
    EXPECT_EQ(control<Label>("Label1")->Caption(), pictureFolderText());

    // A refresh forgets the earlier marks and tests each file again.
    item(1).setSmallIcon("OK");
    pictures.write("a.bmp", makeBmpWithBitCount(2, 2, 8));
    QTest::mouseClick(control<CommandButton>("Command3"), Qt::LeftButton);
    EXPECT_EQ(listing(), QStringList{"a.bmp NoChg"});

    dialogs.folderAnswers.push_back("/");
    QTest::mouseClick(control<CommandButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(control<Label>("Label1")->Caption(), "") << "the root is held as the empty text";
}

TEST_F(FileListTest, AnItemWhoseNameIsNotValidTextIsPreviewedAndAUserClickPreviewsAnother) {
    // Bytes from 0x80 up sort after ASCII, on every platform.
    const std::string rawName = "\xff\xfe-icon.bmp";
    pictures.write(rawName, makeBmp24(3, 2, {}));
    pictures.write("a.bmp", makeBmp24(2, 3, {}));
    rememberPictureFolder();
    start();
    EXPECT_EQ(panel(1), "2×3");

    QListWidget* list = control<ListView>("ListView1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    ASSERT_EQ(item(2).FileName(), rawName);
    EXPECT_EQ(item(2).SmallIcon(), "BMP");
    EXPECT_EQ(panel(1), "3×2");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FileListTest, ANameShortenedInTheListShowsWholeAsItsToolTip) {
    const QString longName = QString(120, 'x') + ".bmp";
    pictures.write("a.bmp", makeBmp24(2, 2, {}));
    pictures.write(longName.toStdString(), makeBmp24(2, 2, {}));
    rememberPictureFolder();
    start();
    QListWidget* list = control<ListView>("ListView1");
    const auto hoverOver = [&](int row) {
        const QPoint centre = list->visualItemRect(list->item(row)).center();
        QHelpEvent hover(QEvent::ToolTip, centre, list->viewport()->mapToGlobal(centre));
        QCoreApplication::sendEvent(list->viewport(), &hover);
    };

    hoverOver(0);
    EXPECT_FALSE(QToolTip::isVisible()) << "a name shown whole needs no tool tip";
    hoverOver(1);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), longName);
    QToolTip::hideText();
}

} // namespace pixtint
