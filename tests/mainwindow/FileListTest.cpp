#include "MainWindowFixture.h"

#include <QTest>
#include <filesystem>
#include <map>

namespace {

struct ListedItem {
    QString icon;
    bool checked;
};

std::map<QString, ListedItem> listedItems(const frmMain& window) {
    std::map<QString, ListedItem> items;
    for (int i = 1; i <= window.ListView1->Count(); ++i) {
        const ListItem item = window.ListView1->Item(i);
        items[item.Text()] = {item.SmallIcon(), item.Checked()};
    }
    return items;
}

} // namespace

class FileListTest : public MainWindowFixture {};

TEST_F(FileListTest, MarksEveryBmpEntryOfAMixedFolder) {
    pictures.write("icon.bmp", makeBmp24(16, 15, {0, 0, 255}));
    pictures.write("LOUD.BMP", makeBmp24(4, 4, {1, 2, 3}));
    pictures.write("palette.bmp", makeBmpWithBitCount(8, 8, 8));
    pictures.write("short.bmp", std::vector<std::uint8_t>(10, 0x18));
    pictures.write("notes.txt", makeBmp24(2, 2, {}));
    std::filesystem::create_directory(pictures / "folder.bmp");
    rememberPictureFolder();
    start();

    const auto items = listedItems(*window);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items.at("icon.bmp").icon, "BMP");
    EXPECT_TRUE(items.at("icon.bmp").checked);
    EXPECT_EQ(items.at("LOUD.BMP").icon, "BMP");
    for (const char* name : {"palette.bmp", "short.bmp", "folder.bmp"}) {
        EXPECT_EQ(items.at(name).icon, "NoChg") << name;
        EXPECT_FALSE(items.at(name).checked) << name;
    }
    EXPECT_EQ(window->Label5->Caption(), "ファイル総数＝5");
    EXPECT_TRUE(window->ListView1->Item(1).Selected());
    EXPECT_EQ(window->MousePointer(), 0);
}

TEST_F(FileListTest, AFolderWithoutPicturesOrThatIsGoneListsNothingSilently) {
    writeSettings({pictureFolderText() + "/gone", " 1 ", " 2 ", " 1 ", "True", " 1 "});
    start();

    EXPECT_EQ(window->ListView1->Count(), 0);
    EXPECT_EQ(window->Label5->Caption(), "ファイル総数＝0");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(panel(2), "");
    EXPECT_EQ(panel(3), "");
}

TEST_F(FileListTest, FolderChoiceKeepsThePathWithoutTrailingSeparatorAndRefreshes) {
    start();
    pictures.write("a.bmp", makeBmp24(2, 2, {}));

    dialogs.folderAnswers.push_back(pictureFolderText() + "//");
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    EXPECT_EQ(dialogs.folderTitles.value(0), "フォルダを選択してください");
    EXPECT_EQ(window->Label1->Caption(), pictureFolderText());
    EXPECT_EQ(window->ListView1->Count(), 1);

    QTest::mouseClick(window->Command2, Qt::LeftButton); // cancelled: nothing changes
    EXPECT_EQ(window->Label1->Caption(), pictureFolderText());
    EXPECT_EQ(window->ListView1->Count(), 1);

    dialogs.folderAnswers.push_back("/");
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    EXPECT_EQ(window->Label1->Caption(), "") << "the root is held as the empty text";
}

TEST_F(FileListTest, RefreshForgetsEarlierMarksAndTestsEachFileAgain) {
    pictures.write("a.bmp", makeBmp24(2, 2, {}));
    rememberPictureFolder();
    start();
    item(1).setSmallIcon("OK");
    pictures.write("a.bmp", makeBmpWithBitCount(2, 2, 8));

    QTest::mouseClick(window->Command3, Qt::LeftButton);
    EXPECT_EQ(item(1).SmallIcon(), "NoChg");
}

TEST_F(FileListTest, ANameThatIsNotValidTextIsListedAndPreviewed) {
    const std::string rawName = "\xff\xfe-icon.bmp";
    pictures.write(rawName, makeBmp24(3, 2, {9, 9, 9}));
    rememberPictureFolder();
    start();

    ASSERT_EQ(window->ListView1->Count(), 1);
    EXPECT_EQ(item(1).FileName(), rawName);
    EXPECT_EQ(item(1).SmallIcon(), "BMP");
    EXPECT_EQ(panel(1), "3×2");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FileListTest, AUserClickOnAnItemRunsThePreview) {
    pictures.write("a.bmp", makeBmp24(2, 3, {}));
    pictures.write("b.bmp", makeBmp24(5, 4, {}));
    rememberPictureFolder();
    start();
    const int other = item(1).Text() == "a.bmp" ? 2 : 1;
    const QString otherSize = item(other).Text() == "a.bmp" ? "2×3" : "5×4";

    QListWidget* list = window->ListView1;
    const QRect where = list->visualItemRect(list->item(other - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where.center());
    EXPECT_EQ(panel(1), otherSize);
}
