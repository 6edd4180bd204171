#include "cli/ErrorReasons.h"

#include <string_view>

namespace pixtint {

namespace {

struct NumberedReason {
    int number;
    std::string_view reason;
};

constexpr NumberedReason Reasons[] = {
    {ErrorNumber::InvalidArgument, "invalid picture width, or a name too short"},
    {ErrorNumber::Overflow, "a number in the file is out of range"},
    {ErrorNumber::OutOfMemory, "out of memory"},
    {ErrorNumber::SubscriptOutOfRange, "too short to hold a picture"},
    {ErrorNumber::DivisionByZero, "a number in the file is out of range"},
    {ErrorNumber::FileNotFound, "no such file"},
    {ErrorNumber::DeviceIoError, "input/output error"},
    {ErrorNumber::FileAlreadyExists, "a file of that name already exists"},
    {ErrorNumber::DiskFull, "no space left on the device"},
    {ErrorNumber::InputPastEndOfFile, "the file ends too early"},
    {ErrorNumber::PermissionDenied, "permission denied"},
    {ErrorNumber::PathFileAccessError, "not a regular file, or an invalid name"},
    {ErrorNumber::PathNotFound, "no such folder"},
    {ErrorNumber::InvalidPicture, "not a valid picture"},
};

} // namespace

std::string reasonFor(const AppError& error) {
    for (const auto& [number, reason] : Reasons) {
        if (number == error.number()) {
            return std::string(reason);
        }
    }
    return "error " + std::to_string(error.number());
}

std::string reasonFor(const Error& error) {
    return error.reason();
}

std::string reasonFor(const FileFailure& failure) {
    const std::string cause = reasonFor(failure.error);
    switch (failure.kind) {
    case FileFailure::Kind::Conversion:
        return cause;
    case FileFailure::Kind::BackupBlocked:
        return "its backup cannot be written: " + cause;
    case FileFailure::Kind::BackupNameShared:
        return "its backup name is already taken by " + failure.otherPicture.string();
    case FileFailure::Kind::BackupNotPlaced:
        return "converted, but the original could not become the backup (" + cause +
               "); it is kept as " + failure.keptOriginal.string();
    }
    return cause;
}

} // namespace pixtint
