// SPDX-License-Identifier: MIT
#include "mainwindow/BatchMessages.h"

#include "desktop/FilePaths.h"
#include "engine/Error.h"

#include <QCoreApplication>
#include <cstring>

namespace pixtint {

namespace {

// The texts' translation context.
struct BatchMessages {
    Q_DECLARE_TR_FUNCTIONS(BatchMessages)
};

QString nameOf(const std::filesystem::path& path) {
    return displayPath(path.filename());
}

QString notConverted(const std::filesystem::path& file) {
    return BatchMessages::tr("%1 は変換しませんでした。").arg(nameOf(file));
}

QString whatHappened(const FileOutcome& outcome) {
    const FileFailure& failure = *outcome.failure;
    const QString file = nameOf(outcome.path);
    switch (failure.kind) {
    case FileFailure::Kind::BackupBlocked:
        if (failure.error.kind() == ErrorKind::NotABackup) { // a user's file, named like one
            return BatchMessages::tr("%1 はバックアップではないため、そのまま残しました。"
                                     "%2 は変換しませんでした。")
                .arg(nameOf(failure.error.path()), file);
        }
        return BatchMessages::tr("%1 はバックアップを作成できないため、変換しませんでした。")
            .arg(file);
    case FileFailure::Kind::BackupNameShared:
        return BatchMessages::tr("%1 のバックアップ名は %2 と同じため、%1 は変換しませんでした。")
            .arg(file, nameOf(failure.otherPicture));
    case FileFailure::Kind::BackupNotPlaced:
        return BatchMessages::tr("%1 は変換しましたが、バックアップを作成できませんでした。"
                                 "変換前のファイルは %2 に残っています。")
            .arg(file, nameOf(failure.keptOriginal));
    case FileFailure::Kind::Conversion:
        if (failure.error.kind() == ErrorKind::NoPaletteRoom) {
            return BatchMessages::tr("%1 のパレットには新しい行の色を入れる空きがないため、"
                                     "変換しませんでした。")
                .arg(file);
        }
        break;
    case FileFailure::Kind::FolderNotWritable: // the number says it: 書き込みできません
        break;
    }
    return notConverted(outcome.path);
}

// The system's own words, as its other programs say them.
QString systemReason(const Error& error) {
    return error.systemError() != 0 ? QString::fromLocal8Bit(std::strerror(error.systemError()))
                                    : QString::fromStdString(error.reason());
}

NumberedMessage withDetails(NumberedMessage message, const QString& details) {
    message.description += QStringLiteral("\r\n") + details;
    return message;
}

} // namespace

NumberedMessage conversionFailureMessage(const FileOutcome& outcome) {
    return withDetails(numberedMessage(outcome.failure->error), whatHappened(outcome));
}

NumberedMessage folderRefusedMessage(const Error& refusal, const std::filesystem::path& folder) {
    return withDetails(numberedMessage(refusal),
                       BatchMessages::tr("フォルダ %1 に書き込めません（%2）。")
                               .arg(displayPath(folder), systemReason(refusal)) +
                           QStringLiteral("\r\n") +
                           BatchMessages::tr("このフォルダのファイルはこれ以上変換しません。"));
}

NumberedMessage unshowableFileMessage(const NumberedMessage& cause,
                                      const std::filesystem::path& file) {
    return withDetails(cause, notConverted(file));
}

} // namespace pixtint
