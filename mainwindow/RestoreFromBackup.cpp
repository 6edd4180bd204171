// SPDX-License-Identifier: MIT
#include "mainwindow/RestoreFromBackup.h"

#include "mainwindow/FilePanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"

#include <QCoreApplication>

namespace pixtint {

namespace {

// The error's number and description, then what became of the picture.
NumberedMessage restoreFailureMessage(const std::filesystem::path& picture,
                                      const RestoreOutcome& outcome) {
    NumberedMessage message = outcome.error ? numberedMessage(*outcome.error)
                                            : numberedMessage(MessageNumber::DeviceIoError);
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

// The list's "バックアップから元に戻す": every ticked picture gets its backup back, then the
// list is read again, since marks and ticks describe files that have just changed.
void MainWindow::restoreTickedFiles() {
    const std::vector<int> rows = filePanel_->tickedRows();
    if (rows.empty()) {
        dialogs_.showMessage(this, tr("元に戻すファイルがありません！"), QMessageBox::Warning);
        return;
    }
    const std::vector<std::filesystem::path> pictures = filePanel_->pathsOf(rows);
    RestoreTally tally;
    {
        BusyCursor busy;
        tally = restoreFromBackups(
            pictures, [this](const std::filesystem::path& picture, const RestoreOutcome& outcome) {
                showError(restoreFailureMessage(picture, outcome), tr("復元エラー"));
            });
    }
    refreshFileList();
    dialogs_.showMessage(this, restoreSummary(tally), QMessageBox::NoIcon);
}

RestoreTally restoreFromBackups(std::span<const std::filesystem::path> pictures,
                                const RestoreFailureReport& reportFailure) {
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
    QStringList lines{QCoreApplication::translate(
        "RestoreFromBackup", "%n 個のファイルを元に戻しました。", nullptr, tally.restored)};
    if (tally.withoutBackup > 0) {
        lines << QCoreApplication::translate("RestoreFromBackup",
                                             "%n 個のファイルにはバックアップがありませんでした。",
                                             nullptr, tally.withoutBackup);
    }
    if (tally.notBackups > 0) {
        lines << QCoreApplication::translate(
            "RestoreFromBackup",
            "%n 個のファイルは、その .bak がバックアップではないため、元に戻しませんでした。",
            nullptr, tally.notBackups);
    }
    if (tally.failed > 0) {
        lines << QCoreApplication::translate(
            "RestoreFromBackup", "%n 個のファイルは元に戻せませんでした。", nullptr, tally.failed);
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace pixtint
