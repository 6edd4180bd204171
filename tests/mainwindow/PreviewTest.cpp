#include "mainwindow/PreviewTexts.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>
#include <sys/stat.h>

namespace pixtint {

class PreviewTest : public MainWindowFixture {
protected:
    QImage picture(int index) const {
        return control<ImageBox>(QStringLiteral("Image1(%1)").arg(index))->Picture();
    }
    void show(int index) {
        item(index).setSelected(true);
        window->previewSelectedFile();
    }
};

TEST(PreviewTexts, SizesAreGroupedAndZeroShowsNoDigits) {
    EXPECT_EQ(PreviewTexts::sizeText(1234567), "1,234,567バイト");
    EXPECT_EQ(PreviewTexts::sizeText(100000), "100,000バイト");
    EXPECT_EQ(PreviewTexts::sizeText(0), "バイト");
}

TEST_F(PreviewTest, ShowsTheConversionAndLeavesTheFolderAsItWas) {
    auto bluePicture = makeBmp24(3, 2, Blue);
    setPixel(bluePicture, 1, 0, Green);
    auto topDown = makeBmp24(16, 16, Green);
    topDown[22] = 0xF0; // height -16: stored top-down
    topDown[23] = topDown[24] = topDown[25] = 0xFF;
    pictures.write("a.bmp", bluePicture);
    pictures.write("b.bmp", topDown);
    startBlueToRed();

    EXPECT_EQ(panel(1), "3×2");
    EXPECT_EQ(panel(2), "78バイト");
    EXPECT_EQ(panel(3), pictureFolderText() + "/a.bmp");
    EXPECT_EQ(picture(0).pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(picture(1).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(picture(1).pixelColor(1, 0), QColor(Qt::green));
    EXPECT_EQ(pictures.names(), (std::vector<std::string>{"a.bmp", "b.bmp"})) << "no temporary";
    EXPECT_EQ(pictures.read("a.bmp"), bluePicture);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window->MousePointer(), 0);

    show(2);
    EXPECT_EQ(panel(1), "16×-16");
}

// The options take effect at once, and are offered exactly while the row is to be added.
TEST_F(PreviewTest, ASixteenByFifteenIconGrowsByARowOfTheAfterColourWhereTheOptionsSay) {
    pictures.write("icon.bmp", makeBmp24(16, 15, Green));
    startBlueToRed();
    ASSERT_EQ(panel(2), "774バイト");
    ASSERT_EQ(picture(1).size(), QSize(16, 16));
    EXPECT_EQ(picture(1).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(picture(1).pixelColor(15, 15), QColor(Qt::green));
    EXPECT_DOUBLE_EQ(control<ImageBox>("Image1(1)")->Height(),
                     control<ImageBox>("Image1(0)")->Height() / 15 * 16);

    control<OptionButton>("Option1(1)")->click();
    EXPECT_EQ(picture(1).pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(picture(1).pixelColor(7, 15), QColor(Qt::red));

    control<CheckBox>("Check2")->click();
    EXPECT_EQ(picture(1).size(), QSize(16, 15));
    EXPECT_DOUBLE_EQ(control<ImageBox>("Image1(1)")->Height(),
                     control<ImageBox>("Image1(0)")->Height());
    EXPECT_FALSE(control<OptionButton>("Option1(0)")->Enabled() ||
                 control<OptionButton>("Option1(1)")->Enabled());
    EXPECT_TRUE(control<Frame>("Frame4")->isEnabled() && control<CheckBox>("Check2")->Enabled());
    control<CheckBox>("Check2")->click();
    EXPECT_TRUE(control<OptionButton>("Option1(0)")->Enabled() &&
                control<OptionButton>("Option1(1)")->Enabled());
    EXPECT_EQ(picture(1).size(), QSize(16, 16));
    EXPECT_EQ(pictures.names(), std::vector<std::string>{"icon.bmp"});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PreviewTest, APictureThatCannotBeLoadedIsReportedAndKeepsItsPath) {
    auto damaged = makeBmp24(4, 4, Blue);
    damaged[0] = 'X'; // still 24-bit by its byte 28, but no picture
    pictures.write("damaged.bmp", damaged);
    startBlueToRed();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "BMPエラー");
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("[No.481]\r\n"));
    EXPECT_EQ(panel(1), "");
    EXPECT_EQ(panel(2), "");
    EXPECT_EQ(panel(3), pictureFolderText() + "/damaged.bmp");
    EXPECT_TRUE(picture(0).isNull());
    EXPECT_EQ(window->MousePointer(), 0);

    // So does a preview without a selected item.
    control<ListView>("ListView1")->clearSelection();
    window->previewSelectedFile();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].title, "BMPエラー");
    EXPECT_TRUE(dialogs.messages[1].text.startsWith("[No.91]\r\n"));
}

// An item whose batch step failed is shown like one that is not convertible.
TEST_F(PreviewTest, AnNGItemIsShownAsNotConvertible) {
    pictures.write("a.bmp", makeBmp24(4, 4, Blue));
    pictures.write("p.bmp", makeBmpWithBitCount(4, 4, 8));
    startBlueToRed();
    item(1).setSmallIcon("NG");

    for (const int index : {2, 1}) { // the palette picture ("NoChg"), then the "NG" one
        show(index);
        EXPECT_EQ(panel(1), "NOT 24bit");
        EXPECT_FALSE(panel(2).isEmpty());
        EXPECT_TRUE(picture(0).isNull() && picture(1).isNull());
    }
    EXPECT_EQ(item(2).SmallIcon(), "NoChg");
    EXPECT_TRUE(dialogs.messages.empty());
}

// Looking writes nothing: a folder the user cannot write (a disc, a read-only share) previews
// without a message, and not even a file made and removed again changes the folder.
TEST_F(PreviewTest, APreviewWritesNothingIntoTheFolder) {
    auto bluePicture = makeBmp24(16, 15, Blue);
    setPixel(bluePicture, 0, 0, Green);
    pictures.write("a.bmp", bluePicture);
    pictures.write("a.tmp", {1, 2, 3}); // the user's own file
    struct stat before {};
    ::stat(pictures.path().c_str(), &before);
    std::filesystem::permissions(pictures.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    startBlueToRed();
    control<CheckBox>("Check2")->setValue(1); // grown, too

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(picture(1).size(), QSize(16, 16));
    EXPECT_EQ(picture(1).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(picture(1).pixelColor(0, 1), QColor(Qt::green));
    struct stat after {};
    ::stat(pictures.path().c_str(), &after);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(pictures.read("a.tmp"), (std::vector<std::uint8_t>{1, 2, 3}));
}

} // namespace pixtint
