// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>
#include <map>
#include <set>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

// How many corpus pictures the window converts, black to white with 16 x 15 pictures grown at
// the top: a number fixed here, not worked out by the program, so that a window that converts
// one file more or fewer is caught. The bytes of each conversion are the core's to prove,
// against a reader of its own (the command line's corpus run).
constexpr int ConvertedCorpusPictures = 50;

// The corpus's pictures of every kind the conversion takes, named here rather than chosen by
// the program: palette pictures of 1, 4 and 8 bits, RLE4 and RLE8, top-down, OS/2 headers of
// 12 and 16 bytes, V4, V5, 56-byte and 40-byte headers with bit fields, alpha bit fields.
const std::set<std::string> EveryKind = {
    "g-pal1.bmp",        "g-pal1bg.bmp",        "g-pal1wb.bmp",     "g-pal4.bmp",
    "g-pal4gs.bmp",      "g-pal4rle.bmp",       "g-pal8-0.bmp",     "g-pal8.bmp",
    "g-pal8gs.bmp",      "g-pal8nonsquare.bmp", "g-pal8os2.bmp",    "g-pal8rle.bmp",
    "g-pal8topdown.bmp", "g-pal8v4.bmp",        "g-pal8v5.bmp",     "g-pal8w124.bmp",
    "g-pal8w125.bmp",    "g-pal8w126.bmp",      "g-rgb24.bmp",      "g-rgb24pal.bmp",
    "g-rgb32.bmp",       "g-rgb32bf.bmp",       "g-rgb32bfdef.bmp", "q-pal8os2v2-16.bmp",
    "q-rgba32h56.bmp",   "q-rgba32abf.bmp"};

} // namespace

using WindowCorpusTest = MainWindowFixture;

// Pictures written by others, many of them broken on purpose, through the window: each one is
// previewed and listed with a mark, every kind the conversion takes is shown before and after
// without a word, every failure is a numbered message, a preview writes nothing, and the batch
// changes only files the preview can show, each marked "OK" with its original as its backup.
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

    std::set<std::string> shownWithoutAWord;
    for (int row = 0; row < fileList()->count(); ++row) {
        const auto said = dialogs.messages.size();
        show(row);
        if (dialogs.messages.size() == said && !picture(Side::Before).isNull() &&
            !picture(Side::After).isNull()) {
            shownWithoutAWord.insert(fileList()->fileName(row));
        }
    }
    for (const std::string& name : EveryKind) {
        EXPECT_TRUE(shownWithoutAWord.contains(name)) << name;
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
