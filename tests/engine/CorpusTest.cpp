#include "engine/BitmapRecolor.h"
#include "tests/engine/EngineBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace pixtint {

namespace {

// A real-world file either converts or fails with an error, and is never changed.
TEST(EngineCorpus, EveryFileConvertsOrFailsCleanly) {
    TestFolder folder;
    const auto copy = folder / "c.bmp";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PIXTINT_CORPUS_DIR)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        SCOPED_TRACE(entry.path().string());
        ++files;
        std::filesystem::remove(copy); // the corpus files are read-only
        std::filesystem::remove(folder / "c.tmp");
        std::filesystem::copy_file(entry.path(), copy);
        const Bytes bytes = folder.read("c.bmp");
        try {
            if (IsBitmap24Bit(copy) && bytes.size() >= WidthOffset + 4) {
                const auto width = static_cast<std::int32_t>(
                    bytes[18] | bytes[19] << 8 | bytes[20] << 16 | std::uint32_t{bytes[21]} << 24);
                ReplaceColor(copy, width, Rgb{}, Rgb{255, 255, 255});
                EXPECT_EQ(folder.read("c.tmp").size(), bytes.size());
            }
        } catch (const AppError&) {
            EXPECT_FALSE(std::filesystem::exists(folder / "c.tmp"));
        }
        EXPECT_EQ(folder.read("c.bmp"), bytes);
    }
    EXPECT_GT(files, 0);
}

} // namespace

} // namespace pixtint
