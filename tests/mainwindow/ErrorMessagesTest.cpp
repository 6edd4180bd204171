// SPDX-License-Identifier: MIT
#include "mainwindow/ErrorMessages.h"

#include "engine/Error.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <new>

namespace pixtint {

// The numbers and texts users have always met, whatever the engine now calls the failure.
TEST(ErrorMessages, FailuresKeepTheirClassicNumbersAndTexts) {
    TestFolder folder;
    const auto messageOf = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            return currentErrorMessage().text();
        }
    };
    EXPECT_EQ(messageOf(WindowError(MessageNumber::DivisionByZero)),
              "[No.11]\r\n0 で除算しました。");
    EXPECT_EQ(messageOf(Error::fromErrno(EROFS, "/a.bmp")), "[No.70]\r\n書き込みできません。")
        << "the window's words, not the system's";
    // A file missing from a folder that is there is No.53 (the batch tests' gone file); from a
    // folder that is gone, No.76.
    EXPECT_EQ(messageOf(Error::fromErrno(ENOENT, folder / "gone" / "a.bmp")),
              "[No.76]\r\nパスが見つかりません。");
    EXPECT_EQ(messageOf(Error::fromErrno(ENOSPC, folder / "a.bmp")),
              "[No.61]\r\nディスクの空き容量が不足しています。");
    EXPECT_EQ(messageOf(std::bad_alloc()), "[No.7]\r\nメモリが不足しています。");
    EXPECT_EQ(messageOf(std::runtime_error("unforeseen")),
              "[No.5]\r\nプロシージャの呼び出し、または引数が不正です。");
}

} // namespace pixtint
