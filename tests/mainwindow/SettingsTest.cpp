// SPDX-License-Identifier: MIT
#include "desktop/FilePaths.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/ScopedEnvironment.h"

#include <QTest>
#include <filesystem>

namespace pixtint {

namespace {

class Settings : public MainWindowFixture {
protected:
    QString programFolderText() const { return displayPath(programFolder.path()); }
    QByteArray settingsBytes() const { return savedSettings(programFolder); }
    void exitWithButton() {
        QTest::mouseClick(exitButton(), Qt::LeftButton);
        settle();
    }

    // The user's configuration folder, where settings go when the program folder is read-only.
    TestFolder configFolder;
    ScopedEnvironment configHome{"XDG_CONFIG_HOME", configFolder.path().string()};
};

// Only the folder line: the window keeps its defaults, says nothing, and shows the program
// folder, whose Readme it opens; a guide the desktop cannot open is named, with the desktop's
// reason; a guide found nowhere is said to be missing. The exit button writes the defaults.
TEST_F(Settings, AShortFileIsReadSilentlyAndTheExitButtonWritesTheDefaults) {
    writeSettings({pictureFolderText()});
    programFolder.write("Readme.txt", {'j'});
    start();
    const QString readme = programFolderText() + "/Readme.txt";
    readmeButton()->click();
    EXPECT_EQ(dialogs.openedDocuments, QStringList{readme});
    EXPECT_TRUE(dialogs.messages.empty());
    dialogs.openFailure = "xdg-open: no method available";
    readmeButton()->click();
    std::filesystem::remove(programFolder / "Readme.txt");
    readmeButton()->click();
    ASSERT_EQ(messageTexts().size(), 2);
    EXPECT_EQ(messageTexts()[0], readme + " を開けませんでした。\r\nxdg-open: no method available");
    EXPECT_TRUE(messageTexts()[1].contains(readme + "\r\n")) << messageTexts()[1].toStdString();
    dialogs.messages.clear();
    exitWithButton();
    EXPECT_EQ(settingsBytes(), programFolderText().toUtf8() +
                                   "\r\n-2147483638 \r\n-2147483633 \r\n 1 \r\nTrue\r\n 1 \r\n");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Settings, ABadLineIsReportedAndKeepsTheLinesBeforeIt) {
    const std::tuple<int, QString, QString> badLines[] = {
        {2, "red", "[No.13]\r\n型が一致しません。"},
        {3, " 5 ", "[No.380]\r\nプロパティの値が不正です。"},
        {4, "yes", "[No.13]\r\n型が一致しません。"},
        {5, "70000", "[No.6]\r\nオーバーフローしました。"}};
    for (const auto& [index, text, message] : badLines) {
        SCOPED_TRACE(index);
        QStringList lines{pictureFolderText(), " 255 ", " 0 ", " 0 ", "False", " 0 "};
        lines[index] = text;
        writeSettings(lines);
        dialogs.messages.clear();
        start();

        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, message);
        EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Critical);
        EXPECT_EQ(dialogs.messages[0].title, "環境設定エラー");
        EXPECT_EQ(folderLabel()->text(), programFolderText());
        EXPECT_EQ(swatch(Side::Before)->colourValue(), 255);
        EXPECT_EQ(backupBox()->checkState(), Qt::Checked)
            << "the lines after the bad one are never applied";
    }
}

TEST_F(Settings, AnUnwritableFileIsReportedAndTheWindowStillCloses) {
    start();
    // A folder in the file's place: not even root can rename a file over it.
    std::filesystem::create_directory(programFolder / "Pixtint.ini");

    exitWithButton();

    ASSERT_EQ(dialogs.messages.size(), 1u) << "a missing file is read silently";
    EXPECT_EQ(dialogs.messages[0].title, "環境設定エラー");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(std::filesystem::is_directory(programFolder / "Pixtint.ini"));
    EXPECT_EQ(programFolder.names(), std::vector<std::string>{"Pixtint.ini"});
}

// An installed program, or one in a folder made read-only (for the superuser as well).
TEST_F(Settings, AReadOnlyProgramFolderKeepsThemInTheUsersConfigFolder) {
    std::filesystem::permissions(programFolder.path(), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    TestFolder home;
    std::filesystem::create_directories(home / "Pictures");
    ScopedEnvironment homeVariable{"HOME", home.path().string()};
    start();
    EXPECT_EQ(folderLabel()->text(), displayPath(home / "Pictures"))
        << "a first start shows the user's pictures, not the program's folder";
    dialogs.folderAnswers.push_back(pictureFolderText());
    browseButton()->click();
    dialogs.colourAnswers.push_back(QColor(255, 0, 0));
    colourDialogButton(Side::After)->click();
    exitWithButton();

    EXPECT_TRUE(dialogs.messages.empty()) << "a first start, a missing settings folder included";
    EXPECT_TRUE(programFolder.names().empty());
    EXPECT_EQ(savedSettings(configFolder, "Pixtint/Pixtint.ini"),
              pictureFolderText().toUtf8() + "\r\n-2147483638 \r\n 255 \r\n 1 \r\nTrue\r\n 1 \r\n");

    start();
    EXPECT_EQ(folderLabel()->text(), pictureFolderText());
    EXPECT_EQ(swatch(Side::After)->colourValue(), 255);
}

// Values other than the defaults survive a round trip ("False" leaves both options unselected).
// `pixtint FOLDER`: the folder named at start, whatever its name, replaces the remembered one and
// is kept on exit. `pixtint FILE` starts on the file's folder, the file selected and previewed.
TEST_F(Settings, OtherValuesAndAFolderOrFileGivenAtStartSurviveARoundTrip) {
    writeSettings({programFolderText(), " 255 ", " 0 ", " 0 ", "False", " 2 "});
    const QString folder = pictureFolderText() + "/古い 画像, 2";
    std::filesystem::create_directory(pictures / "古い 画像, 2");
    pictures.write("古い 画像, 2/a.bmp", makeBmp24(4, 4, Blue));
    pictures.write("古い 画像, 2/b.bmp", makeBmp24(16, 15, Blue));
    window = startMainWindow(dialogs, programFolderText(), folder);
    settle();

    EXPECT_EQ(folderLabel()->text(), folder);
    EXPECT_EQ(listing(), (QStringList{"a.bmp BMP ticked", "b.bmp BMP ticked"}));
    EXPECT_EQ(swatch(Side::Before)->colourValue(), 255);
    EXPECT_FALSE(topRowOption()->isChecked() || bottomRowOption()->isChecked());
    EXPECT_EQ(resizeBox()->checkState(), Qt::Unchecked);
    EXPECT_EQ(backupBox()->checkState(), Qt::PartiallyChecked);
    exitWithButton();
    EXPECT_EQ(settingsBytes(), folder.toUtf8() + "\r\n 255 \r\n 0 \r\n 0 \r\nFalse\r\n 2 \r\n");
    EXPECT_TRUE(dialogs.messages.empty());

    writeSettings({programFolderText()});
    window = startMainWindow(dialogs, programFolderText(), folder, "b.bmp");
    settle();
    EXPECT_EQ(folderLabel()->text(), folder);
    EXPECT_EQ(fileList()->selectedRow(), 1);
    EXPECT_EQ(statusText(StatusBar::Field::Path), folder + "/b.bmp");
    EXPECT_EQ(picture(Side::Before).size(), QSize(16, 15));
}

} // namespace

} // namespace pixtint
