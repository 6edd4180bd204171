#include "engine/AppError.h"

#include <cerrno>
#include <sys/stat.h>
#include <utility>

namespace pixtint {

namespace {

struct NumberedText {
    int number;
    const char* text;
};

constexpr NumberedText Descriptions[] = {
    {ErrorNumber::InvalidArgument, "プロシージャの呼び出し、または引数が不正です。"},
    {ErrorNumber::Overflow, "オーバーフローしました。"},
    {ErrorNumber::OutOfMemory, "メモリが不足しています。"},
    {ErrorNumber::SubscriptOutOfRange, "インデックスが有効範囲にありません。"},
    {ErrorNumber::DivisionByZero, "0 で除算しました。"},
    {ErrorNumber::TypeMismatch, "型が一致しません。"},
    {ErrorNumber::FileNotFound, "ファイルが見つかりません。"},
    {ErrorNumber::DeviceIoError, "デバイス I/O エラーです。"},
    {ErrorNumber::FileAlreadyExists, "既に同名のファイルが存在しています。"},
    {ErrorNumber::DiskFull, "ディスクの空き容量が不足しています。"},
    {ErrorNumber::InputPastEndOfFile, "ファイルにこれ以上データがありません。"},
    {ErrorNumber::PermissionDenied, "書き込みできません。"},
    {ErrorNumber::PathFileAccessError, "パス名が無効です。"},
    {ErrorNumber::PathNotFound, "パスが見つかりません。"},
    {ErrorNumber::ObjectNotSet, "オブジェクト変数または With ブロック変数が設定されていません。"},
    {ErrorNumber::InvalidPropertyValue, "プロパティの値が不正です。"},
    {ErrorNumber::InvalidPicture, "ピクチャが不正です。"},
};

constexpr const char* GenericDescription =
    "アプリケーション定義またはオブジェクト定義のエラーです。";

bool isExistingFolder(const std::filesystem::path& folder) {
    struct stat status {};
    const auto& name = folder.empty() ? std::filesystem::path(".") : folder;
    return ::stat(name.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// A missing file in an existing folder is "file not found"; a missing folder on the way to
// it is "path not found", which tells the user that the folder itself has gone.
int numberForMissingEntry(const std::filesystem::path& path) {
    return isExistingFolder(path.parent_path()) ? ErrorNumber::FileNotFound
                                                : ErrorNumber::PathNotFound;
}

int numberForErrno(int errnoValue, const std::filesystem::path& path) {
    switch (errnoValue) {
    case ENOENT:
        return numberForMissingEntry(path);
    case ENOTDIR:
        return ErrorNumber::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return ErrorNumber::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return ErrorNumber::DiskFull;
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return ErrorNumber::PathFileAccessError;
    case EEXIST:
        return ErrorNumber::FileAlreadyExists;
    default:
        return ErrorNumber::DeviceIoError;
    }
}

std::string formatMessage(int number, const std::string& description) {
    return "[No." + std::to_string(number) + "]\r\n" + description;
}

} // namespace

std::string describeError(int number) {
    for (const auto& entry : Descriptions) {
        if (entry.number == number) {
            return entry.text;
        }
    }
    return GenericDescription;
}

AppError::AppError(int number)
    : AppError(number, describeError(number)) {}

AppError::AppError(int number, std::string description)
    : std::runtime_error(formatMessage(number, description))
    , number_(number)
    , description_(std::move(description)) {}

AppError AppError::fromErrno(int errnoValue, const std::filesystem::path& path) {
    return AppError(numberForErrno(errnoValue, path));
}

std::string AppError::messageText() const {
    return formatMessage(number_, description_);
}

} // namespace pixtint
