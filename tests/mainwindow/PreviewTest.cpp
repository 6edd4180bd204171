// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewTexts.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/Unprivileged.h"

#include <filesystem>

namespace pixtint {

using PreviewTest = MainWindowFixture;
using Field = StatusBar::Field;

TEST(PreviewTexts, SizesAreGroupedAndZeroShowsNoDigits) {
    EXPECT_EQ(PreviewTexts::sizeText(1234567), "1,234,567バイト");
    EXPECT_EQ(PreviewTexts::sizeText(0), "バイト");
}

// The options take effect at once, and are offered exactly while the row is to be added: for
// an icon or a toolbar strip of them, not for another width.
TEST_F(PreviewTest, ASixteenByFifteenIconGrowsByARowOfTheToColourWhereTheOptionsSay) {
    pictures.write("icon.bmp", makeBmp24(16, 15, Green));
    pictures.write("strip.bmp", makeBmp24(96, 15, Green));
    pictures.write("wide.bmp", makeBmp24(100, 15, Green));
    startBlueToRed();
    ASSERT_EQ(statusText(Field::FileSize), "774バイト");
    ASSERT_EQ(picture(Side::After).size(), QSize(16, 16));
    EXPECT_EQ(picture(Side::After).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(picture(Side::After).pixelColor(15, 15), QColor(Qt::green));
    // A fifteenth taller, to the nearest pixel of its edges.
    EXPECT_NEAR(image(Side::After)->height(), image(Side::Before)->height() * 16.0 / 15, 1);

    bottomRowOption()->click();
    settle();
    EXPECT_EQ(picture(Side::After).pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(picture(Side::After).pixelColor(7, 15), QColor(Qt::red));

    resizeBox()->click();
    settle();
    EXPECT_EQ(picture(Side::After).size(), QSize(16, 15));
    EXPECT_EQ(image(Side::After)->height(), image(Side::Before)->height());
    EXPECT_FALSE(topRowOption()->isEnabled() || bottomRowOption()->isEnabled());
    EXPECT_TRUE(sizeFrame()->isEnabled() && resizeBox()->isEnabled());
    resizeBox()->click();
    settle();
    EXPECT_TRUE(topRowOption()->isEnabled() && bottomRowOption()->isEnabled());
    EXPECT_EQ(picture(Side::After).size(), QSize(16, 16));
    show(1);
    EXPECT_TRUE(sizeFrame()->isEnabled());
    EXPECT_EQ(picture(Side::After).size(), QSize(96, 16));
    EXPECT_EQ(picture(Side::After).pixelColor(95, 15), QColor(Qt::red)) << "a row as wide";
    EXPECT_EQ(picture(Side::After).pixelColor(95, 14), QColor(Qt::green));
    show(2);
    EXPECT_FALSE(sizeFrame()->isEnabled());
    EXPECT_EQ(picture(Side::After).size(), QSize(100, 15));
    EXPECT_EQ(pictures.names(), (std::vector<std::string>{"icon.bmp", "strip.bmp", "wide.bmp"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

// A picture that cannot be read or loaded fails its preview whole: its box, both images empty,
// panels 1 and 2 empty, its path kept and nothing of the file shown before it left. One of a
// kind the conversion refuses, or whose batch step failed, shows why without a message, its size
// and its path, and no picture on either side, even one Qt could read. One 0 pixels wide is a
// conversion error.
TEST_F(PreviewTest, PicturesThatCannotBeShownOrConvertedSaySo) {
    pictures.write("a.bmp", makeBmp24(4, 4, Blue));
    pictures.write("b-16bit.bmp", makeBmpWithBitCount(16, 15, 16));
    pictures.write("e-nobm.bmp", std::vector<std::uint8_t>(64, 0));
    pictures.write("f-damaged.bmp", unshowablePicture());
    pictures.write("g-unreadable.bmp", makeBmp24(5, 3, Blue));
    auto noWidth = makeBmp24(4, 4, Blue);
    noWidth[18] = 0;
    pictures.write("h-nowidth.bmp", noWidth);
    const UnprivilegedScope unprivileged{pictures.path(), programFolder.path()};
    startBlueToRed();
    // Listed as a picture, unreadable by the time it is shown.
    std::filesystem::permissions(pictures / "g-unreadable.bmp", std::filesystem::perms::none);
    for (const auto& [row, number] : {std::pair{3, "[No.481]\r\n"}, {4, "[No.70]\r\n"}}) {
        show(0);
        ASSERT_FALSE(picture(Side::Before).isNull());
        show(row);
        ASSERT_EQ(messageTitles(), QStringList{"BMPエラー"});
        EXPECT_TRUE(messageTexts()[0].startsWith(number));
        EXPECT_TRUE(picture(Side::Before).isNull() && picture(Side::After).isNull());
        EXPECT_EQ(statusText(Field::Dimensions) + statusText(Field::FileSize), "");
        EXPECT_EQ(statusText(Field::Path),
                  pictureFolderText() + '/' + QString::fromStdString(fileList()->fileName(row)));
        EXPECT_FALSE(busyPointerShown());
        dialogs.messages.clear();
    }
    show(5); // 0 pixels wide: a conversion error, which ends the item "NG"
    ASSERT_EQ(messageTitles(), QStringList{"変換エラー"});
    EXPECT_EQ(fileList()->mark(5), ItemMark::Failed);
    EXPECT_TRUE(picture(Side::Before).isNull() && picture(Side::After).isNull());
    EXPECT_EQ(statusText(Field::Dimensions), "0×4");
    dialogs.messages.clear();

    fileList()->setMark(0, ItemMark::Failed);
    const std::pair<int, QString> refused[] = {
        {1, "16ビット画像は変換できません"}, // Qt reads 16-bit pictures
        {2, "BMP ファイルではありません"},
        {0, "変換できませんでした"}}; // the "NG" one
    for (const auto& [row, reason] : refused) {
        show(row);
        EXPECT_EQ(statusText(Field::Dimensions), reason);
        EXPECT_FALSE(statusText(Field::FileSize).isEmpty() || statusText(Field::Path).isEmpty());
        EXPECT_TRUE(picture(Side::Before).isNull() && picture(Side::After).isNull()) << row;
        EXPECT_EQ(fileList()->mark(row), row == 0 ? ItemMark::Failed : ItemMark::NotConvertible);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace pixtint
