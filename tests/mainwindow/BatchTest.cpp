#include "MainWindowFixture.h"

#include <filesystem>
#include <optional>

namespace {

constexpr Pixel Blue{0, 0, 255};
constexpr Pixel Green{0, 255, 0};
constexpr Pixel Red{255, 0, 0};
constexpr std::int32_t BlueValue = 0xFF0000;
constexpr std::int32_t RedValue = 0x0000FF;

bool sameColour(Pixel a, Pixel b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

std::int32_t field32(const std::vector<std::uint8_t>& bmp, std::size_t offset) {
    return static_cast<std::int32_t>(bmp[offset] | bmp[offset + 1] << 8 | bmp[offset + 2] << 16 |
                                     static_cast<std::uint32_t>(bmp[offset + 3]) << 24);
}

// The picture as the batch writes it when converting blue to red.
std::vector<std::uint8_t> blueToRed(std::vector<std::uint8_t> bmp) {
    for (int y = 0; y < field32(bmp, 22); ++y) {
        for (int x = 0; x < field32(bmp, 18); ++x) {
            if (sameColour(pixelAt(bmp, x, y), Blue)) {
                setPixel(bmp, x, y, Red);
            }
        }
    }
    return bmp;
}

// A 16 x 15 picture grown by a row of the after colour, then converted.
std::vector<std::uint8_t> grownAndConverted(const std::vector<std::uint8_t>& icon, bool rowAtTop) {
    auto grown = makeBmp24(16, 16, Red);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 16; ++x) {
            setPixel(grown, x, rowAtTop ? y + 1 : y, pixelAt(icon, x, y));
        }
    }
    return blueToRed(grown);
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

using Names = std::vector<std::string>;

} // namespace

class BatchTest : public MainWindowFixture {
protected:
    // Starts on the picture folder converting blue to red.
    void startBlueToRed(const QString& insertAtTop = "True", const QString& backups = " 1 ") {
        writeSettings({pictureFolderText(), settingsNumber(BlueValue), settingsNumber(RedValue),
                       " 1 ", insertAtTop, backups});
        start();
    }
    // Presses "変換実行", noting the window's state whenever a message box is up.
    void runBatch() {
        dialogs.onMessage = [this](const FakeDialogs::Message&) {
            pointerAtMessage = window->MousePointer();
            batchRunningAtMessage = window->batchRunning();
        };
        window->Command4->click();
    }
    ListItem itemNamed(const QString& name) const {
        for (int i = 1; i <= window->ListView1->Count(); ++i) {
            if (item(i).Text() == name) {
                return item(i);
            }
        }
        throw std::runtime_error("no item " + name.toStdString());
    }
    void expectOnlyMessage(const QString& text, Dialogs::Icon icon) const {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].icon, icon);
        EXPECT_EQ(dialogs.messages[0].title, "Pixtint");
    }
    void expectQuietAfterwards() const {
        EXPECT_EQ(pointerAtMessage, 0);
        EXPECT_FALSE(batchRunningAtMessage);
        EXPECT_EQ(window->MousePointer(), 0);
        EXPECT_FALSE(window->batchRunning());
    }

    int pointerAtMessage = -1;
    bool batchRunningAtMessage = true;
};

TEST_F(BatchTest, ConvertsEveryTickedFileAndBacksUpThePictureAsItWas) {
    auto first = makeBmp24(5, 3, Blue);
    setPixel(first, 2, 1, Green);
    const auto noBlue = makeBmp24(4, 4, Green);
    const auto third = makeBmp24(7, 2, Blue);
    pictures.write("a.bmp", first);
    pictures.write("b.bmp", noBlue);
    pictures.write("C.BMP", third); // keeps its name exactly: no C.bmp appears
    startBlueToRed();
    runBatch();

    expectOnlyMessage("変換終了！", Dialogs::Icon::None);
    expectQuietAfterwards();
    EXPECT_EQ(pictures.names(), (Names{"C.BMP", "C.bak", "a.bak", "a.bmp", "b.bak", "b.bmp"}));
    EXPECT_EQ(pictures.read("a.bmp"), blueToRed(first));
    EXPECT_EQ(pictures.read("b.bmp"), noBlue);
    EXPECT_EQ(pictures.read("C.BMP"), blueToRed(third));
    EXPECT_EQ(pictures.read("a.bak"), first);
    EXPECT_EQ(pictures.read("C.bak"), third);
    for (const char* name : {"a.bmp", "b.bmp", "C.BMP"}) {
        EXPECT_EQ(itemNamed(name).SmallIcon(), "OK") << name;
    }

    // Converted again: nothing blue is left, and the backups now hold the first run's result.
    dialogs.messages.clear();
    runBatch();
    expectOnlyMessage("変換終了！", Dialogs::Icon::None);
    EXPECT_EQ(pictures.read("a.bmp"), blueToRed(first));
    EXPECT_EQ(pictures.read("a.bak"), blueToRed(first));
    EXPECT_EQ(pictures.names().size(), 6u);
}

TEST_F(BatchTest, LeavesUntickedAndUnconvertibleFilesAsTheyWere) {
    const auto unticked = makeBmp24(4, 4, Blue);
    const auto palette = makeBmpWithBitCount(4, 4, 8);
    pictures.write("a.bmp", unticked);
    pictures.write("p.bmp", palette);
    startBlueToRed();
    itemNamed("a.bmp").setChecked(false);
    itemNamed("a.bmp").setSelected(true);
    runBatch();

    // The closing run is a plain preview, so the selected unticked file is not converted.
    expectOnlyMessage("変換終了！", Dialogs::Icon::None);
    expectQuietAfterwards();
    EXPECT_EQ(pictures.names(), (Names{"a.bmp", "p.bmp"}));
    EXPECT_EQ(pictures.read("a.bmp"), unticked);
    EXPECT_EQ(pictures.read("p.bmp"), palette);
    EXPECT_EQ(itemNamed("a.bmp").SmallIcon(), "BMP");
    EXPECT_EQ(itemNamed("p.bmp").SmallIcon(), "NoChg");
}

TEST_F(BatchTest, AFailedItemKeepsItsOlderBackupAndTheOthersGoOn) {
    const auto failing = makeBmp24(4, 4, Blue);
    const auto other = makeBmp24(3, 3, Blue);
    pictures.write("a.bmp", failing);
    pictures.write("a.bak", bytesOf("older backup"));
    std::filesystem::create_directory(pictures / "a.tmp"); // the result cannot be written
    pictures.write("b.bmp", other);
    startBlueToRed();
    dialogs.messages.clear(); // the start-up preview of a.bmp has already failed once
    itemNamed("a.bmp").setSmallIcon("BMP");
    runBatch();

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "変換エラー");
    EXPECT_EQ(dialogs.messages[1].text, "変換終了！");
    EXPECT_EQ(itemNamed("a.bmp").SmallIcon(), "NG");
    EXPECT_EQ(pictures.read("a.bmp"), failing);
    EXPECT_EQ(pictures.read("a.bak"), bytesOf("older backup"));
    EXPECT_EQ(pictures.read("b.bmp"), blueToRed(other));
    EXPECT_EQ(pictures.read("b.bak"), other);
    EXPECT_EQ(pictures.names(), (Names{"a.bak", "a.bmp", "a.tmp", "b.bak", "b.bmp"}));
}

TEST_F(BatchTest, ABackupThatCannotBeWrittenIsReportedAndTheConversionStays) {
    const auto picture = makeBmp24(4, 4, Blue);
    pictures.write("a.bmp", picture);
    std::filesystem::create_directory(pictures / "a.bak");
    startBlueToRed();
    runBatch();

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "変換エラー");
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("[No."))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[1].text, "変換終了！");
    EXPECT_EQ(pictures.read("a.bmp"), blueToRed(picture));
    EXPECT_EQ(itemNamed("a.bmp").SmallIcon(), "OK");
    // The picture as it was is not lost: it stays under its private name beside the folder.
    const Names names = pictures.names();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1].substr(0, 6), "a.bak.");
    EXPECT_EQ(pictures.read(names[1]), picture);
}

TEST_F(BatchTest, GrowsASixteenByFifteenIconWithTheRowOnTop) {
    auto icon = makeBmp24(16, 15, Green);
    setPixel(icon, 3, 0, Blue);
    pictures.write("icon.bmp", icon);
    startBlueToRed();
    runBatch();

    EXPECT_EQ(pictures.read("icon.bmp"), grownAndConverted(icon, true));
    EXPECT_EQ(pictures.read("icon.bak"), icon);
}

TEST_F(BatchTest, PutsTheRowAtTheBottomWhenTheSettingsSayFalse) {
    auto icon = makeBmp24(16, 15, Green);
    setPixel(icon, 3, 0, Blue);
    pictures.write("icon.bmp", icon);
    startBlueToRed("False", " 0 ");
    ASSERT_FALSE(window->Option1[0]->Value());
    ASSERT_FALSE(window->Option1[1]->Value());
    runBatch();

    EXPECT_EQ(pictures.read("icon.bmp"), grownAndConverted(icon, false));
    EXPECT_EQ(pictures.names(), Names{"icon.bmp"}) << "no backup asked for";
}

TEST_F(BatchTest, AnEmptyListIsReportedAndLeavesTheWindowAsItWas) {
    startBlueToRed();
    runBatch();

    expectOnlyMessage("変換するファイルがありません！", Dialogs::Icon::Exclamation);
    expectQuietAfterwards();
}
