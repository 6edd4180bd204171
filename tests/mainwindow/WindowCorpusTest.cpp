// SPDX-License-Identifier: MIT
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "engine/ByteSource.h"
#include "filesafety/FileByteSource.h"
#include "platform/PictureDecoding.h"
#include "tests/mainwindow/MainWindowFixture.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

// What the window's conversion makes of a file: black to white, a 16 x 15 picture grown at
// the top. Nothing when the core refuses it.
std::optional<Bytes> convertedBytes(const std::filesystem::path& path) {
    const ConversionRequest request{
        .pairs = {{Rgb{}, Rgb{255, 255, 255}}}, .growth = Growth::Top, .everyKind = true};
    try {
        if (refusalOf(path)) {
            return std::nullopt;
        }
        Bytes bytes;
        convertFile(FileByteSource(path), request, [&](std::span<const std::uint8_t> part) {
            bytes.insert(bytes.end(), part.begin(), part.end());
        });
        return bytes;
    } catch (...) {
        return std::nullopt;
    }
}

bool previewCanShow(const std::filesystem::path& path) {
    try {
        checkPictureDecodes(FileByteSource(path));
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

using WindowCorpusTest = MainWindowFixture;

// Pictures written by others, many of them broken on purpose, through the window: each one is
// previewed and listed with a mark, every failure is a numbered message, and the batch changes
// only files the preview can show, each into exactly its converted bytes with its backup. Every
// file the conversion takes and the preview can show is converted.
TEST_F(WindowCorpusTest, EveryFileIsPreviewedAndOnlyFilesThePreviewCanShowAreConverted) {
    std::vector<std::string> names;
    std::vector<Bytes> originals;
    std::vector<std::optional<Bytes>> converted;
    std::vector<bool> showable;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PIXTINT_CORPUS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".bmp") {
            const std::string name = entry.path().parent_path().filename().string() + "-" +
                                     entry.path().filename().string();
            std::filesystem::copy_file(entry.path(), pictures / name);
            names.push_back(name);
            originals.push_back(pictures.read(name));
            converted.push_back(convertedBytes(pictures / name));
            showable.push_back(previewCanShow(pictures / name));
        }
    }
    ASSERT_GT(names.size(), 10u);
    rememberPictureFolder(0x000000, 0xFFFFFF);
    start();
    ASSERT_EQ(fileList()->count(), static_cast<int>(names.size()));

    for (int row = 0; row < fileList()->count(); ++row) {
        show(row);
    }
    for (const FakeDialogs::Message& message : dialogs.messages) {
        EXPECT_TRUE(message.title == "BMPエラー" || message.title == "変換エラー")
            << message.title.toStdString();
        EXPECT_TRUE(message.text.startsWith("[No.")) << message.text.toStdString();
    }
    EXPECT_EQ(pictures.names().size(), names.size()) << "a preview writes nothing";

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
        const auto index =
            static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
        ASSERT_LT(index, names.size());
        const Bytes now = pictures.read(name);
        if (converted[index] && showable[index]) {
            EXPECT_EQ(now, *converted[index]) << "the conversion takes it";
        }
        if (now == originals[index]) {
            continue;
        }
        EXPECT_TRUE(chosen[row]);
        EXPECT_EQ(fileList()->mark(row), ItemMark::Converted);
        EXPECT_TRUE(showable[index]);
        EXPECT_TRUE(converted[index] && now == *converted[index]);
        EXPECT_EQ(pictures.read(name.substr(0, name.size() - 3) + "bak"), originals[index]);
    }
}

} // namespace pixtint
