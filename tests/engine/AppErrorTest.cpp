#include "engine/AppError.h"

#include "tests/support/TestFolder.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

TEST(EngineAppError, MessageTextHasNumberAndDescription) {
    EXPECT_EQ(AppError(53).messageText(), "[No.53]\r\nファイルが見つかりません。");
    EXPECT_EQ(describeError(12345), "アプリケーション定義またはオブジェクト定義のエラーです。");
    EXPECT_EQ(AppError(7, "own").messageText(), "[No.7]\r\nown");
}

TEST(EngineAppError, ErrnoMapsToClassicNumbers) {
    TestFolder folder;
    const auto inFolder = folder / "x.bmp";
    const std::pair<int, int> expectations[] = {
        {EACCES, 70}, {EROFS, 70},        {ENOSPC, 61}, {EIO, 57},     {EISDIR, 75},
        {ELOOP, 75},  {ENAMETOOLONG, 75}, {EEXIST, 58}, {ENOTDIR, 76}, {EBUSY, 57}};
    for (const auto& [errnoValue, number] : expectations) {
        EXPECT_EQ(AppError::fromErrno(errnoValue, inFolder).number(), number) << errnoValue;
    }
    EXPECT_EQ(AppError::fromErrno(ENOENT, inFolder).number(), ErrorNumber::FileNotFound);
    EXPECT_EQ(AppError::fromErrno(ENOENT, folder / "no" / "x.bmp").number(),
              ErrorNumber::PathNotFound);
}

} // namespace

} // namespace pixtint
