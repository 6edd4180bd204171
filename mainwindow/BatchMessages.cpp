#include "mainwindow/BatchMessages.h"

#include "platform/FileOperations.h"

#include <QString>

namespace pixtint {

namespace {

QString nameOf(const std::filesystem::path& path) {
    return DisplayPath(path.filename());
}

QString whatHappened(const FileOutcome& outcome) {
    const FileFailure& failure = *outcome.failure;
    const QString file = nameOf(outcome.path);
    switch (failure.kind) {
    case FileFailure::Kind::BackupBlocked:
        return QStringLiteral("%1 はバックアップを作成できないため、変換しませんでした。")
            .arg(file);
    case FileFailure::Kind::BackupNameShared:
        return QStringLiteral("%1 のバックアップ名は %2 と同じため、%1 は変換しませんでした。")
            .arg(file, nameOf(failure.otherPicture));
    case FileFailure::Kind::BackupNotPlaced:
        return QStringLiteral("%1 は変換しましたが、バックアップを作成できませんでした。"
                              "変換前のファイルは %2 に残っています。")
            .arg(file, nameOf(failure.keptOriginal));
    case FileFailure::Kind::Conversion:
        break;
    }
    return QStringLiteral("%1 は変換しませんでした。").arg(file);
}

} // namespace

AppError batchFailure(const FileOutcome& outcome) {
    const AppError cause = AppError::fromError(outcome.failure->error);
    const QString details = whatHappened(outcome);
    return AppError(cause.number(), cause.description() + "\r\n" + details.toStdString());
}

} // namespace pixtint
