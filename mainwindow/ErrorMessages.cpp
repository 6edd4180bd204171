// SPDX-License-Identifier: MIT
#include "mainwindow/ErrorMessages.h"

#include "engine/Error.h"

#include <QCoreApplication>
#include <cerrno>
#include <new>
#include <sys/stat.h>

namespace pixtint {

namespace {

struct Description {
    int number;
    const char* text;
};

// Translated where they are shown: English for an English window.
constexpr Description Descriptions[] = {
    {MessageNumber::InvalidArgument,
     QT_TRANSLATE_NOOP("ErrorMessages", "プロシージャの呼び出し、または引数が不正です。")},
    {MessageNumber::Overflow, QT_TRANSLATE_NOOP("ErrorMessages", "オーバーフローしました。")},
    {MessageNumber::OutOfMemory, QT_TRANSLATE_NOOP("ErrorMessages", "メモリが不足しています。")},
    {MessageNumber::SubscriptOutOfRange,
     QT_TRANSLATE_NOOP("ErrorMessages", "インデックスが有効範囲にありません。")},
    {MessageNumber::DivisionByZero, QT_TRANSLATE_NOOP("ErrorMessages", "0 で除算しました。")},
    {MessageNumber::TypeMismatch, QT_TRANSLATE_NOOP("ErrorMessages", "型が一致しません。")},
    {MessageNumber::FileNotFound, QT_TRANSLATE_NOOP("ErrorMessages", "ファイルが見つかりません。")},
    {MessageNumber::DeviceIoError, QT_TRANSLATE_NOOP("ErrorMessages", "デバイス I/O エラーです。")},
    {MessageNumber::FileAlreadyExists,
     QT_TRANSLATE_NOOP("ErrorMessages", "既に同名のファイルが存在しています。")},
    {MessageNumber::DiskFull,
     QT_TRANSLATE_NOOP("ErrorMessages", "ディスクの空き容量が不足しています。")},
    {MessageNumber::InputPastEndOfFile,
     QT_TRANSLATE_NOOP("ErrorMessages", "ファイルにこれ以上データがありません。")},
    {MessageNumber::PermissionDenied, QT_TRANSLATE_NOOP("ErrorMessages", "書き込みできません。")},
    {MessageNumber::PathFileAccessError, QT_TRANSLATE_NOOP("ErrorMessages", "パス名が無効です。")},
    {MessageNumber::PathNotFound, QT_TRANSLATE_NOOP("ErrorMessages", "パスが見つかりません。")},
    {MessageNumber::ObjectNotSet,
     QT_TRANSLATE_NOOP("ErrorMessages",
                       "オブジェクト変数または With ブロック変数が設定されていません。")},
    {MessageNumber::InvalidPropertyValue,
     QT_TRANSLATE_NOOP("ErrorMessages", "プロパティの値が不正です。")},
    {MessageNumber::InvalidPicture, QT_TRANSLATE_NOOP("ErrorMessages", "ピクチャが不正です。")},
};

constexpr const char* GenericDescription =
    QT_TRANSLATE_NOOP("ErrorMessages", "アプリケーション定義またはオブジェクト定義のエラーです。");

QString described(const char* text) {
    return QCoreApplication::translate("ErrorMessages", text);
}

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
    case ErrorKind::ReadOnlyFile:
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
            return {number, described(entry.text)};
        }
    }
    return {number, described(GenericDescription)};
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
