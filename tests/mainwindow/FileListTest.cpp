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
