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
    const std::pair<Error, int> numbered[] = {
        // A folder that is gone (a missing file in one that exists is No.53).
        {Error::fromErrno(ENOENT, folder / "gone" / "a.bmp"), 76},
        {Error::fromErrno(EACCES, folder / "a.bmp"), 70},
        {Error::fromErrno(ENOSPC, folder / "a.bmp"), 61},
        {Error::fromErrno(EEXIST, folder / "a.bak"), 58},
        {Error(ErrorKind::TooShort), 62},
        {Error(ErrorKind::NoPixels), 9},
        {Error(ErrorKind::InvalidWidth), 5},
        {Error(ErrorKind::OutOfMemory), 7},
        {Error(ErrorKind::ChangedDuringRun), 75},
    };
    for (const auto& [error, number] : numbered) {
        EXPECT_EQ(numberedMessage(error).number, number) << error.what();
    }

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
    EXPECT_EQ(messageOf(std::bad_alloc()), "[No.7]\r\nメモリが不足しています。");
    EXPECT_EQ(messageOf(std::runtime_error("unforeseen")),
              "[No.5]\r\nプロシージャの呼び出し、または引数が不正です。");
}

} // namespace pixtint
