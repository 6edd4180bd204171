#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>

namespace pixtint {

using Names = std::vector<std::string>;

// Whatever the user does with backups switched on, no original picture is lost, and the list
// shows which files failed.
class BackupSafetyTest : public MainWindowFixture {
protected:
    void runBatch() {
        dialogs.messages.clear();
        convertButton()->click();
    }
    QStringList errorTexts() const {
        QStringList texts;
        for (const auto& message : dialogs.messages) {
            if (message.title == "変換エラー") {
                texts << message.text;
            }
        }
        return texts;
    }
    const std::vector<std::uint8_t> blue = makeBmp24(3, 2, Blue);
    const std::vector<std::uint8_t> red = makeBmp24(3, 2, Red);
};

TEST_F(BackupSafetyTest, TwoBatchesInARowKeepTheOriginals) {
    pictures.write("a.bmp", blue);
    startBlueToRed();
    runBatch();
    runBatch();
    EXPECT_EQ(listing(), QStringList{"a.bmp OK ticked"});
    EXPECT_EQ(pictures.read("a.bmp"), red);
    EXPECT_EQ(pictures.read("a.bak"), blue);
    EXPECT_TRUE(errorTexts().isEmpty());
}

TEST_F(BackupSafetyTest, AFolderNamedLikeABackupStopsThatFileOnly) {
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", blue);
    std::filesystem::create_directory(pictures / "b.bak");
    startBlueToRed();
    runBatch();

    EXPECT_EQ(listing(), (QStringList{"a.bmp OK ticked", "b.bmp NG ticked"}));
    EXPECT_EQ(pictures.read("a.bmp"), red);
    EXPECT_EQ(pictures.read("b.bmp"), blue);
    ASSERT_EQ(errorTexts().size(), 1);
    EXPECT_TRUE(errorTexts()[0].startsWith("[No.75]\r\n"));
    EXPECT_TRUE(errorTexts()[0].contains("b.bmp"));
    EXPECT_EQ(pictures.names(), (Names{"a.bak", "a.bmp", "b.bak", "b.bmp"}));
}

// On a case-sensitive disk the two share the backup name dup.bak.
TEST_F(BackupSafetyTest, PicturesSharingABackupNameNeverLoseAnOriginal) {
    auto other = makeBmp24(3, 2, Blue);
    setPixel(other, 0, 0, Green);
    pictures.write("dup.BMP", blue);
    pictures.write("dup.bmp", other);
    startBlueToRed();
    runBatch();
    const QStringList errors = errorTexts();
    runBatch();

    const QStringList list = listing();
    ASSERT_EQ(list.size(), 2);
    EXPECT_TRUE(list[0].endsWith("OK ticked")) << list[0].toStdString();
    EXPECT_TRUE(list[1].endsWith("NG ticked")) << list[1].toStdString();
    const std::string kept = list[0].section(' ', 0, 0).toStdString();
    const std::string refused = list[1].section(' ', 0, 0).toStdString();
    EXPECT_EQ(pictures.read("dup.bak"), kept == "dup.BMP" ? blue : other);
    EXPECT_EQ(pictures.read(refused), refused == "dup.BMP" ? blue : other);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QString::fromStdString(kept)));
    EXPECT_TRUE(errors[0].contains(QString::fromStdString(refused)));
}

// A file that cannot be read is one the preview cannot show: a "BMPエラー", as there.
TEST_F(BackupSafetyTest, AFileThatVanishedEndsNGWithItsReadError) {
    pictures.write("a.bmp", blue);
    pictures.write("b.bmp", blue);
    startBlueToRed();
    std::filesystem::remove(pictures / "a.bmp");
    runBatch();

    EXPECT_EQ(listing(), (QStringList{"a.bmp NG ticked", "b.bmp OK ticked"}));
    EXPECT_TRUE(errorTexts().isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "BMPエラー");
    EXPECT_EQ(dialogs.messages[0].text,
              "[No.53]\r\nファイルが見つかりません。\r\na.bmp は変換しませんでした。");
    EXPECT_EQ(pictures.names(), (Names{"b.bak", "b.bmp"}));
}

} // namespace pixtint
