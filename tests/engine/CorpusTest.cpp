#include "AppError.h"
#include "BitmapRecolor.h"
#include "EngineBytes.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

using namespace BitmapRecolor;

namespace {

std::int32_t widthFromHeader(const Bytes& bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | bytes[WidthOffset + i];
    }
    return static_cast<std::int32_t>(value);
}

// A real-world file either converts or fails with an error, and is never changed.
void convertCopy(const std::filesystem::path& original, const TestFolder& folder) {
    std::filesystem::remove(folder / "c.bmp"); // the corpus files are read-only
    std::filesystem::remove(folder / "c.tmp");
    std::filesystem::copy_file(original, folder / "c.bmp");
    const Bytes bytes = folder.read("c.bmp");
    try {
        if (IsBitmap24Bit(folder / "c.bmp") && bytes.size() >= WidthOffset + 4) {
            ReplaceColor(folder / "c.bmp", widthFromHeader(bytes), Rgb{}, Rgb{255, 255, 255});
            EXPECT_EQ(folder.read("c.tmp").size(), bytes.size());
        }
    } catch (const AppError&) {
        EXPECT_FALSE(folder.exists("c.tmp"));
    }
    EXPECT_EQ(folder.read("c.bmp"), bytes);
}

TEST(EngineCorpus, EveryFileConvertsOrFailsCleanly) {
    TestFolder folder;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PIXTINT_CORPUS_DIR)) {
        if (entry.is_regular_file()) {
            SCOPED_TRACE(entry.path().string());
            convertCopy(entry.path(), folder);
            ++files;
        }
    }
    EXPECT_GT(files, 0);
}

} // namespace
