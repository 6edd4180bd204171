#include "mainwindow/ErrorMessages.h"

#include "engine/Error.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <new>

namespace pixtint {

namespace {

int numberOf(const Error& error) {
    return numberedMessage(error).number;
}

} // namespace

// The numbers and texts users have always met, whatever the engine now calls the failure.
TEST(ErrorMessages, FailedSystemCallsKeepTheirClassicNumbers) {
    TestFolder folder;
    // A missing file in a folder that exists, and a folder that is itself gone.
    EXPECT_EQ(numberOf(Error::fromErrno(ENOENT, folder / "a.bmp")), 53);
    EXPECT_EQ(numberOf(Error::fromErrno(ENOENT, folder / "gone" / "a.bmp")), 76);
    EXPECT_EQ(numberOf(Error::fromErrno(ENOTDIR, folder / "a.bmp")), 76);
    for (const int reason : {EACCES, EPERM, EROFS}) {
        EXPECT_EQ(numberOf(Error::fromErrno(reason, folder / "a.bmp")), 70) << reason;
    }
    EXPECT_EQ(numberOf(Error::fromErrno(ENOSPC, folder / "a.bmp")), 61);
    EXPECT_EQ(numberOf(Error::fromErrno(EISDIR, folder / "a.bak")), 75);
    EXPECT_EQ(numberOf(Error::fromErrno(EEXIST, folder / "a.bak")), 58);
    EXPECT_EQ(numberOf(Error::fromErrno(EIO, folder / "a.bmp")), 57);
}

TEST(ErrorMessages, ThePictureKindsAndTheWindowsOwnFailuresAreNumberedAsBefore) {
    EXPECT_EQ(numberOf(Error(ErrorKind::NotAPicture)), 481);
    EXPECT_EQ(numberOf(Error(ErrorKind::TooShort)), 62);
    EXPECT_EQ(numberOf(Error(ErrorKind::NoPixels)), 9);
    EXPECT_EQ(numberOf(Error(ErrorKind::InvalidWidth)), 5);
    EXPECT_EQ(numberOf(Error(ErrorKind::OutOfMemory)), 7);
    EXPECT_EQ(numberOf(Error(ErrorKind::ChangedDuringRun)), 75);

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
