#include "mainwindow/ErrorMessages.h"

#include "engine/Error.h"

#include <cerrno>
#include <new>
#include <sys/stat.h>

namespace pixtint {

namespace {

struct Description {
    int number;
    const char* text;
};

constexpr Description Descriptions[] = {
    {MessageNumber::InvalidArgument, "プロシージャの呼び出し、または引数が不正です。"},
    {MessageNumber::Overflow, "オーバーフローしました。"},
    {MessageNumber::OutOfMemory, "メモリが不足しています。"},
    {MessageNumber::SubscriptOutOfRange, "インデックスが有効範囲にありません。"},
    {MessageNumber::DivisionByZero, "0 で除算しました。"},
    {MessageNumber::TypeMismatch, "型が一致しません。"},
    {MessageNumber::FileNotFound, "ファイルが見つかりません。"},
    {MessageNumber::DeviceIoError, "デバイス I/O エラーです。"},
    {MessageNumber::FileAlreadyExists, "既に同名のファイルが存在しています。"},
    {MessageNumber::DiskFull, "ディスクの空き容量が不足しています。"},
    {MessageNumber::InputPastEndOfFile, "ファイルにこれ以上データがありません。"},
    {MessageNumber::PermissionDenied, "書き込みできません。"},
    {MessageNumber::PathFileAccessError, "パス名が無効です。"},
    {MessageNumber::PathNotFound, "パスが見つかりません。"},
    {MessageNumber::ObjectNotSet, "オブジェクト変数または With ブロック変数が設定されていません。"},
    {MessageNumber::InvalidPropertyValue, "プロパティの値が不正です。"},
    {MessageNumber::InvalidPicture, "ピクチャが不正です。"},
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
    return isExistingFolder(path.parent_path()) ? MessageNumber::FileNotFound
                                                : MessageNumber::PathNotFound;
}

int numberForErrno(int errnoValue, const std::filesystem::path& path) {
    switch (errnoValue) {
    case ENOENT:
        return numberForMissingEntry(path);
    case ENOTDIR:
        return MessageNumber::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return MessageNumber::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return MessageNumber::DiskFull;
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return MessageNumber::PathFileAccessError;
    case EEXIST:
        return MessageNumber::FileAlreadyExists;
    default:
        return MessageNumber::DeviceIoError;
    }
}

int numberForKind(const Error& error) {
    switch (error.kind()) {
    case ErrorKind::System:
        return numberForErrno(error.systemError(), error.path());
    case ErrorKind::OutOfMemory:
        return MessageNumber::OutOfMemory;
    case ErrorKind::NotAPicture:
    case ErrorKind::Unsupported:
        return MessageNumber::InvalidPicture;
    case ErrorKind::TooShort:
        return MessageNumber::InputPastEndOfFile;
    case ErrorKind::NoPixels:
    case ErrorKind::Truncated:
        return MessageNumber::SubscriptOutOfRange;
    case ErrorKind::InvalidWidth:
    case ErrorKind::NoPaletteRoom:
        return MessageNumber::InvalidArgument;
    case ErrorKind::AttributeNotKept:
        return MessageNumber::PermissionDenied;
    case ErrorKind::ChangedDuringRun:
    case ErrorKind::NotABackup:
        return MessageNumber::PathFileAccessError;
    }
    return MessageNumber::DeviceIoError;
}

} // namespace

QString NumberedMessage::text() const {
    return QStringLiteral("[No.%1]\r\n%2").arg(number).arg(description);
}

WindowError::WindowError(int number)
    : std::runtime_error(numberedMessage(number).text().toStdString())
    , number_(number) {}

NumberedMessage numberedMessage(int number) {
    for (const Description& entry : Descriptions) {
        if (entry.number == number) {
            return {number, QString::fromUtf8(entry.text)};
        }
    }
    return {number, QString::fromUtf8(GenericDescription)};
}

NumberedMessage numberedMessage(const Error& error) {
    return numberedMessage(numberForKind(error));
}

NumberedMessage currentErrorMessage() {
    try {
        throw;
    } catch (const WindowError& error) {
        return numberedMessage(error.number());
    } catch (const Error& error) {
        return numberedMessage(error);
    } catch (const std::bad_alloc&) {
        return numberedMessage(MessageNumber::OutOfMemory);
    } catch (...) {
        return numberedMessage(MessageNumber::InvalidArgument);
    }
}

} // namespace pixtint
