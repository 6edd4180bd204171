// SPDX-License-Identifier: MIT
#include "mainwindow/RestoreFromBackup.h"

#include "desktop/FilePaths.h"
#include "dialogs/Dialogs.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/RunSummary.h"
#include "widgets/BusyCursor.h"

#include <QCoreApplication>
#include <cstring>

namespace pixtint {

namespace {

// The error's number and description, then what became of the picture.
NumberedMessage restoreFailureMessage(const std::filesystem::path& picture,
                                      const RestoreOutcome& outcome) {
    NumberedMessage message = outcome.error ? numberedMessage(*outcome.error)
                                            : numberedMessage(MessageNumber::DeviceIoError);
    if (outcome.status == RestoreStatus::FolderNotWritable && outcome.error) {
        message.description +=
            QStringLiteral("\r\n") +
            QCoreApplication::translate("RestoreFromBackup", "フォルダ %1 に書き込めません（%2）。")
                .arg(displayPath(picture.parent_path()),
                     QString::fromLocal8Bit(std::strerror(outcome.error->systemError())));
    }
    const QString whatBecame =
        outcome.status == RestoreStatus::NotFlushed
            ? QCoreApplication::translate(
                  "RestoreFromBackup",
                  "%1 は元に戻しましたが、ディスクに書き込まれていない可能性があります。")
            : QCoreApplication::translate("RestoreFromBackup", "%1 は元に戻せませんでした。");
    message.description += QStringLiteral("\r\n") + whatBecame.arg(displayPath(picture.filename()));
    return message;
}

} // namespace

RestoreTally restoreFromBackups(QWidget& owner, Dialogs& dialogs,
                                std::span<const std::filesystem::path> pictures) {
    const auto reportFailure = [&](const std::filesystem::path& picture,
                                   const RestoreOutcome& outcome) {
        dialogs.showMessage(&owner, restoreFailureMessage(picture, outcome).text(),
                            QMessageBox::Critical,
                            QCoreApplication::translate("RestoreFromBackup", "復元エラー"));
    };
    BusyCursor busy;
    RestoreTally tally;
    BackupRestore restore;
    restore.restore(pictures,
                    {.outcome =
                         [&](const std::filesystem::path& picture, const RestoreOutcome& outcome) {
                             switch (outcome.status) {
                             case RestoreStatus::Restored:
                                 ++tally.restored;
                                 break;
                             case RestoreStatus::NoBackup:
                                 ++tally.withoutBackup;
                                 break;
                             case RestoreStatus::NotABackup:
                                 ++tally.notBackups;
                                 break;
                             case RestoreStatus::Failed:
                             case RestoreStatus::NotFlushed:
                             case RestoreStatus::FolderNotWritable:
                                 ++tally.failed;
                                 reportFailure(picture, outcome);
                                 break;
                             }
                         },
                     .stopRequested = {},
                     .recovered = {}});
    return tally;
}

QString restoreSummary(const RestoreTally& tally) {
    return RunSummary(QString())
        .count(tally.restored,
               QCoreApplication::translate("RestoreFromBackup", "%n 個のファイルを元に戻しました。",
                                           nullptr, tally.restored))
        .count(tally.withoutBackup,
               QCoreApplication::translate("RestoreFromBackup",
                                           "%n 個のファイルにはバックアップがありませんでした。",
                                           nullptr, tally.withoutBackup))
        .count(tally.notBackups, QCoreApplication::translate(
                                     "RestoreFromBackup",
                                     "%n 個のファイルは、その .bak がバックアップではないため、"
                                     "元に戻しませんでした。",
                                     nullptr, tally.notBackups))
        .count(tally.failed, QCoreApplication::translate("RestoreFromBackup",
                                                         "%n 個のファイルは元に戻せませんでした。",
                                                         nullptr, tally.failed))
        .text();
}

} // namespace pixtint
