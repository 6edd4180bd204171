// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <stdexcept>

namespace pixtint {

class Error;

// The window shows every failure as "[No.<number>]" CR LF <description>: the numbers and
// Japanese descriptions its users have always met. They live here alone; the engine and the
// core report what failed (engine/Error.h), and this turns it into the window's words.
namespace MessageNumber {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIoError = 57;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPicture = 481;
} // namespace MessageNumber

struct NumberedMessage {
    int number = 0;
    QString description;

    // The text of the message box.
    QString text() const;
};

// A failure found by the window itself (its size arithmetic, the settings file, the preview),
// with the number it is shown with.
class WindowError : public std::runtime_error {
public:
    explicit WindowError(int number);
    int number() const noexcept { return number_; }

private:
    int number_;
};

// The window's description of a number.
NumberedMessage numberedMessage(int number);
// What the user is told of an engine or core failure: a failed system call by its errno (a
// missing file in a folder that exists is 53, a missing folder 76, ...), the other kinds by
// the number that always stood for them.
NumberedMessage numberedMessage(const Error& error);

// To be called inside a catch block: the exception being handled, as the window numbers it.
// Memory running out is 7; an exception the window has no number for is 5.
NumberedMessage currentErrorMessage();

} // namespace pixtint
