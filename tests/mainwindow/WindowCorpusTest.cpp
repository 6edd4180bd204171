// SPDX-License-Identifier: MIT
#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>
#include <set>

namespace pixtint {

namespace {

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

// Pictures written by others, many of them broken on purpose, previewed in the window: every
// kind the conversion takes is shown before and after without a word, every failure is a
// numbered message, and a preview writes nothing. (What a conversion makes of them is the
// core's corpus test, checked against Qt's reader.)
TEST_F(WindowCorpusTest, EveryKindIsPreviewedAndEveryFailureIsANumberedMessage) {
    for (const std::filesystem::path& path : corpusPictures()) {
        std::filesystem::copy_file(path, pictures / (path.parent_path().filename().string() + "-" +
                                                     path.filename().string()));
    }
    const std::vector<std::string> names = pictures.names();
    rememberPictureFolder(0x000000, 0xFFFFFF);
    start();
    ASSERT_EQ(fileList()->count(), std::ssize(names));

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
    EXPECT_EQ(pictures.names(), names) << "a preview writes nothing";
}

} // namespace pixtint
