#include "AppError.h"
#include "MainWindowFixture.h"
#include "SettingsFile.h"

#include <QDir>
#include <QTest>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr std::int32_t DefaultBefore = -2147483638;
constexpr std::int32_t DefaultAfter = -2147483633;

QByteArray bytesOf(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
}

class Settings : public MainWindowFixture {
protected:
    QString programFolderText() const {
        return QFile::decodeName(QByteArray::fromStdString(programFolder.path().native()));
    }
    QByteArray settingsBytes() const { return bytesOf(programFolder.read("Pixtint.ini")); }
    void exitWithButton() {
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        settle();
    }
    void expectDefaultOptions() const {
        EXPECT_EQ(window->Check2->Value(), 1);
        EXPECT_TRUE(window->Option1[0]->Value());
        EXPECT_FALSE(window->Option1[1]->Value());
        EXPECT_EQ(window->Check1->Value(), 1);
    }
};

TEST_F(Settings, FirstStartShowsDefaultsAndExitWritesThemInTheFileForm) {
    start();

    EXPECT_EQ(window->Caption(), "Pixtint (Ver1.2)");
    EXPECT_EQ(window->Label1->Caption(), programFolderText());
    EXPECT_EQ(window->Label3[0]->BackColor(), DefaultBefore);
    EXPECT_EQ(window->Label3[1]->BackColor(), DefaultAfter);
    expectDefaultOptions();
    EXPECT_TRUE(dialogs.messages.empty());

    exitWithButton();

    EXPECT_EQ(settingsBytes(), programFolderText().toUtf8() +
                                   "\r\n-2147483638 \r\n-2147483633 \r\n 1 \r\nTrue\r\n 1 \r\n");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Settings, NonDefaultValuesSurviveARoundTrip) {
    const QString folder = QDir(pictureFolderText()).filePath("古い 画像, 2");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeSettings({folder, " 255 ", " 0 ", " 0 ", "False", " 0 "});
    const QByteArray written = settingsBytes();
    start();

    EXPECT_EQ(window->Label1->Caption(), folder);
    EXPECT_EQ(window->Label3[0]->BackColor(), 255);
    EXPECT_EQ(window->Label3[1]->BackColor(), 0);
    EXPECT_EQ(window->Check2->Value(), 0);
    EXPECT_FALSE(window->Option1[0]->Value());
    EXPECT_FALSE(window->Option1[1]->Value());
    EXPECT_EQ(window->Check1->Value(), 0);
    EXPECT_TRUE(dialogs.messages.empty());

    exitWithButton();
    EXPECT_EQ(settingsBytes(), written);
}

TEST_F(Settings, AShortFileAppliesItsLinesSilentlyAndFallsBackToTheProgramFolder) {
    writeSettings({pictureFolderText(), " 255 ", " 65280 "});
    start();

    EXPECT_EQ(window->Label3[0]->BackColor(), 255);
    EXPECT_EQ(window->Label3[1]->BackColor(), 65280);
    EXPECT_EQ(window->Label1->Caption(), programFolderText());
    expectDefaultOptions();
    EXPECT_TRUE(dialogs.messages.empty());
}

struct BadLine {
    int lineIndex;
    QString text;
    int errorNumber;
};

class SettingsBadLine : public Settings, public testing::WithParamInterface<BadLine> {};

TEST_P(SettingsBadLine, IsReportedAndKeepsTheLinesBeforeIt) {
    QStringList lines{pictureFolderText(), " 255 ", " 0 ", " 0 ", "False", " 0 "};
    lines[GetParam().lineIndex] = GetParam().text;
    writeSettings(lines);
    start();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QString::fromStdString(AppError(GetParam().errorNumber).messageText()));
    EXPECT_EQ(dialogs.messages[0].title, "環境設定エラー");
    EXPECT_EQ(dialogs.messages[0].icon, Dialogs::Icon::Critical);
    EXPECT_EQ(window->Label1->Caption(), programFolderText());
    EXPECT_EQ(window->Label3[0]->BackColor(), 255);
    // The lines after the bad one are never applied.
    EXPECT_EQ(window->Check1->Value(), 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, SettingsBadLine,
                         testing::Values(BadLine{2, "red", ErrorNumber::TypeMismatch},
                                         BadLine{3, " 5 ", ErrorNumber::InvalidPropertyValue},
                                         BadLine{4, "yes", ErrorNumber::TypeMismatch},
                                         BadLine{5, "70000", ErrorNumber::Overflow}),
                         [](const testing::TestParamInfo<BadLine>& info) {
                             return "Line" + std::to_string(info.param.lineIndex + 1);
                         });

TEST_F(Settings, AnUnwritableFileIsReportedAndTheWindowStillCloses) {
    start();
    // A folder in the file's place: not even root can rename a file over it.
    std::filesystem::create_directory(programFolder / "Pixtint.ini");

    exitWithButton();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("[No."));
    EXPECT_EQ(dialogs.messages[0].title, "環境設定エラー");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(std::filesystem::is_directory(programFolder / "Pixtint.ini"));
    EXPECT_EQ(programFolder.names(), std::vector<std::string>{"Pixtint.ini"});
}

TEST_F(Settings, AFailedExitLeavesThePreviousFileIntact) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    rememberPictureFolder();
    const QByteArray previous = settingsBytes();
    start();
    window->Label3[1]->setBackColor(255);
    std::filesystem::permissions(programFolder.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);

    exitWithButton();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QString::fromStdString(AppError(ErrorNumber::PermissionDenied).messageText()));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settingsBytes(), previous);
}

TEST_F(Settings, ClosingTheWindowOtherwiseSavesNothing) {
    rememberPictureFolder();
    const QByteArray previous = settingsBytes();
    start();
    window->Label3[1]->setBackColor(255);

    window->close();
    settle();

    EXPECT_EQ(settingsBytes(), previous);
}

TEST_F(Settings, ReadmeButtonOpensTheProgramFoldersReadme) {
    start();
    QTest::mouseClick(window->Command7, Qt::LeftButton);

    EXPECT_EQ(dialogs.openedDocuments, QStringList{programFolderText() + "/Readme.txt"});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SettingsFileLines, EndInCrLfOrLineFeedAndTheLastNeedsNoEnding) {
    EXPECT_EQ(SettingsFile::splitLines("a b\r\n\r\nc\n d\r"), (QStringList{"a b", "", "c", " d"}));
    EXPECT_EQ(SettingsFile::splitLines("a\r\r\n"), QStringList{"a\r"});
    EXPECT_TRUE(SettingsFile::splitLines("").isEmpty());
}

TEST(SettingsFileNumbers, ReadBlanksSignsAndLimits) {
    using namespace SettingsFile;
    EXPECT_EQ(parseLong(" -2147483648 "), INT32_MIN);
    EXPECT_EQ(parseLong("\t+2147483647"), INT32_MAX);
    EXPECT_EQ(parseInteger(" 1 "), 1);
    EXPECT_EQ(parseInteger("-32768"), -32768);
    for (const char* text : {"", " ", "1.5", "1 2", "0x10", "-", "+-1"}) {
        EXPECT_THROW(parseLong(text), AppError) << text;
    }
    for (const char* text : {"2147483648", "-2147483649", "99999999999999999999999"}) {
        try {
            parseLong(text);
            ADD_FAILURE() << text;
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), ErrorNumber::Overflow) << text;
        }
    }
}

TEST(SettingsFileNumbers, ReadTruthValuesInAnyCaseOrAsNumbers) {
    using namespace SettingsFile;
    EXPECT_TRUE(parseBoolean("tRUE"));
    EXPECT_FALSE(parseBoolean(" FALSE "));
    EXPECT_FALSE(parseBoolean("000"));
    EXPECT_TRUE(parseBoolean("-1"));
    EXPECT_TRUE(parseBoolean("100000000000000000000"));
    EXPECT_THROW(parseBoolean("yes"), AppError);
    EXPECT_THROW(parseBoolean(""), AppError);
}

} // namespace
