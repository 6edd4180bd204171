#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace pixtint {

// The program's one error type: a number and a Japanese description, shown to the user as
// "[No.<number>]" CR LF <description>. File-system failures keep the classic error numbers
// so that messages read the same whatever the platform.
namespace ErrorNumber {
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
} // namespace ErrorNumber

class AppError : public std::runtime_error {
public:
    // The description is the program's own text for the number.
    explicit AppError(int number);
    AppError(int number, std::string description);

    // The error a failed file-system call with this errno stands for, at this path.
    static AppError fromErrno(int errnoValue, const std::filesystem::path& path);

    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

    // "[No.<number>]\r\n<description>", the text of every error message box.
    std::string messageText() const;

private:
    int number_;
    std::string description_;
};

// The program's Japanese description of an error number (UTF-8).
std::string describeError(int number);

} // namespace pixtint
