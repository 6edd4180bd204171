// SPDX-License-Identifier: MIT
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "decoding/PictureDecoding.h"
#include "engine/ByteSource.h"
#include "filesafety/FileByteSource.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <filesystem>
#include <map>
#include <optional>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

// What the window's batch makes of a file, black to white with a 16 x 15 picture grown at the
// top; nothing when it must leave the file alone, because the core refuses it or no preview
// can show it.
std::optional<Bytes> expectedConversion(const std::filesystem::path& path) {
    const ConversionRequest request{
        .pairs = {{Rgb{}, Rgb{255, 255, 255}}}, .growth = Growth::Top, .everyKind = true};
    try {
        if (refusalOf(path)) {
            return std::nullopt;
        }
        checkPictureDecodes(FileByteSource(path));
        Bytes bytes;
        convertFile(FileByteSource(path), request, [&](std::span<const std::uint8_t> part) {
            bytes.insert(bytes.end(), part.begin(), part.end());
        });
        return bytes;
    } catch (...) {
        return std::nullopt;
    }
}

struct CorpusFile {
    Bytes original;
    std::optional<Bytes> converted;
};

} // namespace

using WindowCorpusTest = MainWindowFixture;

// Pictures written by others, many of them broken on purpose, through the window: each one is
// previewed and listed with a mark, every failure is a numbered message, and the batch changes
// only files the preview can show, each into exactly its converted bytes with its backup. Every
// file the conversion takes and the preview can show is converted.
TEST_F(WindowCorpusTest, EveryFileIsPreviewedAndOnlyFilesThePreviewCanShowAreConverted) {
    std::map<std::string, CorpusFile> files;
    for (const std::filesystem::path& path : corpusPictures()) {
        const std::string name =
            path.parent_path().filename().string() + "-" + path.filename().string();
        std::filesystem::copy_file(path, pictures / name);
        files[name] = {pictures.read(name), expectedConversion(pictures / name)};
    }
    ASSERT_GT(files.size(), 10u);
    rememberPictureFolder(0x000000, 0xFFFFFF);
    start();
    ASSERT_EQ(fileList()->count(), static_cast<int>(files.size()));

    for (int row = 0; row < fileList()->count(); ++row) {
        show(row);
    }
    for (const FakeDialogs::Message& message : dialogs.messages) {
        EXPECT_TRUE(message.title == "BMPエラー" || message.title == "変換エラー")
            << message.title.toStdString();
        EXPECT_TRUE(message.text.startsWith("[No.")) << message.text.toStdString();
    }
    EXPECT_EQ(pictures.names().size(), files.size()) << "a preview writes nothing";

    // The previews may have marked items "NG"; the batch converts the convertible ones left.
    std::vector<bool> chosen;
    for (int row = 0; row < fileList()->count(); ++row) {
        chosen.push_back(fileList()->isTicked(row) && isConvertibleMark(fileList()->mark(row)));
    }
    convertAndWait();
    ASSERT_EQ(dialogs.messages.back().text, "変換終了！");
    EXPECT_FALSE(busyPointerShown());

    for (int row = 0; row < fileList()->count(); ++row) {
        const std::string name = fileList()->fileName(row);
        SCOPED_TRACE(name);
        ASSERT_TRUE(files.contains(name));
        const CorpusFile& file = files.at(name);
        const Bytes now = pictures.read(name);
        if (file.converted) {
            EXPECT_EQ(now, *file.converted) << "the conversion takes it and the preview shows it";
        }
        if (now == file.original) {
            continue;
        }
        EXPECT_TRUE(chosen[row]);
        EXPECT_EQ(fileList()->mark(row), ItemMark::Converted);
        EXPECT_TRUE(file.converted && now == *file.converted);
        EXPECT_EQ(pictures.read(name.substr(0, name.size() - 3) + "bak"), file.original);
    }
}

} // namespace pixtint
