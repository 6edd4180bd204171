// SPDX-License-Identifier: MIT
#include "mainwindow/FolderListing.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <QTest>
#include <filesystem>
#include <thread>

namespace pixtint {

using FileListTest = MainWindowFixture;

// The 24-bit pictures are ticked and the first entry selected; a chosen folder is kept without
// its trailing separator.
TEST_F(FileListTest, AChosenFolderIsListedWithItsTwentyFourBitPicturesTicked) {
    start(); // without settings, on the program folder: nothing to list, and nothing said
    EXPECT_EQ(fileList()->count(), 0);
    EXPECT_EQ(statusText(StatusBar::Field::FileSize) + statusText(StatusBar::Field::Path), "");
    EXPECT_TRUE(dialogs.messages.empty());

    pictures.write("icon.bmp", makeBmp24(16, 15, Blue));
    pictures.write("palette.bmp", makeBmpWithBitCount(8, 8, 8));
    pictures.write("short.bmp", std::vector<std::uint8_t>(10, 0x18));
    pictures.write("notes.txt", makeBmp24(2, 2, {}));
    std::filesystem::create_directory(pictures / "folder.bmp");
    dialogs.folderAnswers.push_back(pictureFolderText() + "//");
    QTest::mouseClick(browseButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(folderLabel()->text(), pictureFolderText());
    EXPECT_EQ(listing(), (QStringList{"folder.bmp NoChg", "icon.bmp BMP ticked",
                                      "palette.bmp BMP ticked", "short.bmp NoChg"}));
    EXPECT_EQ(fileCountLabel()->text(), "ファイル総数＝4");
    EXPECT_EQ(fileList()->selectedRow(), 0);

    QTest::mouseClick(browseButton(), Qt::LeftButton); // cancelled: nothing changes
    EXPECT_EQ(folderLabel()->text(), pictureFolderText());
}

// The keyboard and the mouse move the selection and preview, an item whose name is not valid
// text too; a selection made by the program previews nothing by itself. A click beside the
// items, or a Ctrl+click on the selected one, keeps the selection, so that a later preview (a
// size option, a resize) still has its file.
TEST_F(FileListTest, EveryClickKeepsOneItemSelectedAndOnlyTheUsersPreview) {
    const std::string rawName = "\xff\xfe-icon.bmp"; // bytes from 0x80 up sort after ASCII
    pictures.write("a.bmp", makeBmp24(2, 3, {}));
    pictures.write("b.bmp", makeBmp24(3, 2, {}));
    pictures.write(rawName, makeBmp24(4, 2, {}));
    startBlueToRed();
    FileListWidget* list = fileList();
    const auto dimensions = [this] {
        return statusText(StatusBar::Field::Dimensions);
    };
    const auto centreOf = [list](int row) {
        return list->visualItemRect(list->item(row)).center();
    };

    list->selectRow(1);
    EXPECT_EQ(dimensions(), "2×3") << "still the first file's";
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Down);
    settle();
    EXPECT_EQ(dimensions(), "3×2");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(2));
    settle();
    EXPECT_EQ(dimensions(), "4×2");

    const QPoint blank = centreOf(2) + QPoint(0, list->visualItemRect(list->item(2)).height());
    ASSERT_EQ(list->itemAt(blank), nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, blank);
    EXPECT_EQ(list->selectedRow(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(2));
    EXPECT_EQ(list->selectedRow(), 2);
    resizeBox()->click();
    window->resize(window->width() + 30, window->height());
    settle();
    EXPECT_EQ(dimensions(), "4×2");
    EXPECT_TRUE(dialogs.messages.empty()) << messageTexts().join(' ').toStdString();
}

// A listing cancelled before it has looked at any file looks at none: a user who picks
// another folder does not wait while the old one's files are opened one by one.
TEST(FolderListingTest, ACancelledListingLooksAtNoMoreFiles) {
    TestFolder folder;
    for (int i = 0; i < 2000; ++i) {
        folder.write("icon" + std::to_string(i) + ".bmp", {'B', 'M'});
    }
    FolderListing listing(folder.path());
    listing.cancel();
    while (!listing.ended()) {
        std::this_thread::yield();
    }
    ASSERT_TRUE(listing.namesKnown());
    EXPECT_LT(listing.marksKnown(), listing.names().size());
}

} // namespace pixtint
