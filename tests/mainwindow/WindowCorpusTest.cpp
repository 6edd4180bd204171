// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>
#include <map>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

// How many corpus pictures the window converts, black to white with 16 x 15 pictures grown at
// the top: a number fixed here, not worked out by the program, so that a window that converts
// one file more or fewer is caught. The bytes of each conversion are the core's to prove,
// against a reader of its own (the command line's corpus run).
constexpr int ConvertedCorpusPictures = 50;

} // namespace

using WindowCorpusTest = MainWindowFixture;

// Pictures written by others, many of them broken on purpose, through the window: each one is
// previewed and listed with a mark, every failure is a numbered message, a preview writes
// nothing, and the batch changes only files the preview can show, each marked "OK" with its
// original as its backup.
TEST_F(WindowCorpusTest, EveryFileIsPreviewedAndOnlyFilesThePreviewCanShowAreConverted) {
    std::map<std::string, Bytes> originals;
    for (const std::filesystem::path& path : corpusPictures()) {
        const std::string name =
            path.parent_path().filename().string() + "-" + path.filename().string();
        std::filesystem::copy_file(path, pictures / name);
        originals[name] = pictures.read(name);
    }
    ASSERT_GT(originals.size(), 10u);
    rememberPictureFolder(0x000000, 0xFFFFFF);
    start();
    ASSERT_EQ(fileList()->count(), static_cast<int>(originals.size()));

    for (int row = 0; row < fileList()->count(); ++row) {
        show(row);
    }
    for (const FakeDialogs::Message& message : dialogs.messages) {
        EXPECT_TRUE(message.title == "BMPエラー" || message.title == "変換エラー")
            << message.title.toStdString();
        EXPECT_TRUE(message.text.startsWith("[No.")) << message.text.toStdString();
    }
    EXPECT_EQ(pictures.names().size(), originals.size()) << "a preview writes nothing";

    // The previews may have marked items "NG"; the batch converts the convertible ones left.
    std::vector<bool> chosen;
    for (int row = 0; row < fileList()->count(); ++row) {
        chosen.push_back(fileList()->isTicked(row) && isConvertibleMark(fileList()->mark(row)));
    }
    convertAndWait();
    EXPECT_FALSE(busyPointerShown());

    int converted = 0;
    for (int row = 0; row < fileList()->count(); ++row) {
        const std::string name = fileList()->fileName(row);
        SCOPED_TRACE(name);
        const Bytes& original = originals.at(name);
        if (pictures.read(name) == original) {
            continue;
        }
        ++converted;
        EXPECT_TRUE(chosen[row]);
        EXPECT_EQ(fileList()->mark(row), ItemMark::Converted);
        EXPECT_EQ(pictures.read(name.substr(0, name.size() - 3) + "bak"), original);
    }
    EXPECT_EQ(converted, ConvertedCorpusPictures);
}

} // namespace pixtint
