#include "tests/mainwindow/MainWindowFixture.h"

#include <QHelpEvent>
#include <QSignalSpy>
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
    EXPECT_EQ(fileCountLabel()->text(), "ファイル総数＝4");
    EXPECT_EQ(fileList()->selectedRow(), 0);
    EXPECT_FALSE(busyPointerShown());
}

TEST_F(FileListTest, AChosenFolderIsKeptWithoutTrailingSeparatorAndListedAfresh) {
    start(); // without settings, on the program folder: nothing to list, and nothing said
    EXPECT_EQ(fileList()->count(), 0);
    EXPECT_EQ(fileCountLabel()->text(), "ファイル総数＝0");
    EXPECT_EQ(statusText(StatusBar::Field::FileSize) + statusText(StatusBar::Field::Path), "");
    EXPECT_TRUE(dialogs.messages.empty());

    pictures.write("a.bmp", makeBmp24(2, 2, {}));

    dialogs.folderAnswers.push_back(pictureFolderText() + "//");
    QTest::mouseClick(browseButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.folderTitles.value(0), "フォルダを選択してください");
    EXPECT_EQ(folderLabel()->text(), pictureFolderText());
    EXPECT_EQ(listing(), QStringList{"a.bmp BMP ticked"});

    QTest::mouseClick(browseButton(), Qt::LeftButton); // cancelled: nothing changes
    EXPECT_EQ(folderLabel()->text(), pictureFolderText());

    // A refresh forgets the earlier marks and tests each file again.
    fileList()->setMark(0, ItemMark::Converted);
    pictures.write("a.bmp", makeBmpWithBitCount(2, 2, 8));
    QTest::mouseClick(refreshButton(), Qt::LeftButton);
    EXPECT_EQ(listing(), QStringList{"a.bmp NoChg"});

    dialogs.folderAnswers.push_back("/");
    QTest::mouseClick(browseButton(), Qt::LeftButton);
    EXPECT_EQ(folderLabel()->text(), "") << "the root is held as the empty text";
}

TEST_F(FileListTest, AnItemWhoseNameIsNotValidTextIsPreviewedAndAUserClickPreviewsAnother) {
    // Bytes from 0x80 up sort after ASCII, on every platform.
    const std::string rawName = "\xff\xfe-icon.bmp";
    pictures.write(rawName, makeBmp24(3, 2, {}));
    pictures.write("a.bmp", makeBmp24(2, 3, {}));
    rememberPictureFolder();
    start();
    EXPECT_EQ(statusText(StatusBar::Field::Dimensions), "2×3");

    FileListWidget* list = fileList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    ASSERT_EQ(list->fileName(1), rawName);
    EXPECT_EQ(list->mark(1), ItemMark::Convertible);
    EXPECT_EQ(statusText(StatusBar::Field::Dimensions), "3×2");
    EXPECT_TRUE(dialogs.messages.empty());
}

// The keyboard moves the selection as a click does, and previews; a selection made by the
// program previews nothing by itself.
TEST_F(FileListTest, TheKeyboardPreviewsAndTheProgramsSelectionDoesNot) {
    pictures.write("a.bmp", makeBmp24(2, 3, {}));
    pictures.write("b.bmp", makeBmp24(3, 2, {}));
    rememberPictureFolder();
    start();
    QSignalSpy chosen(fileList(), &FileListWidget::userSelected);

    fileList()->selectRow(1);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(statusText(StatusBar::Field::Dimensions), "2×3") << "still the first file's";
    QTest::keyClick(fileList(), Qt::Key_Up);
    QTest::keyClick(fileList(), Qt::Key_Up); // already at the top: nothing moves
    EXPECT_EQ(chosen.count(), 1);
    QTest::keyClick(fileList(), Qt::Key_Down);
    EXPECT_EQ(fileList()->selectedRow(), 1);
    EXPECT_EQ(statusText(StatusBar::Field::Dimensions), "3×2");
}

TEST_F(FileListTest, ANameShortenedInTheListShowsWholeAsItsToolTip) {
    const QString longName = QString(120, 'x') + ".bmp";
    pictures.write("a.bmp", makeBmp24(2, 2, {}));
    pictures.write(longName.toStdString(), makeBmp24(2, 2, {}));
    rememberPictureFolder();
    start();
    FileListWidget* list = fileList();
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
