#include "mainwindow/RestoreFromBackup.h"

#include <QCoreApplication>

namespace pixtint {

RestoreTally restoreFromBackups(const std::vector<std::filesystem::path>& pictures,
                                const RestoreFailureReport& reportFailure) {
    RestoreTally tally;
    BackupRestore restore(false);
    for (const std::filesystem::path& picture : pictures) {
        const RestoreOutcome outcome = restore.restore(picture);
        switch (outcome.status) {
        case RestoreStatus::Restored:
            ++tally.restored;
            break;
        case RestoreStatus::NoBackup:
            ++tally.withoutBackup;
            break;
        case RestoreStatus::Failed:
            ++tally.failed;
            reportFailure(picture, outcome);
            break;
        }
    }
    restore.finish(); // the renames are on disk before the user is told
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
    if (tally.failed > 0) {
        lines << QCoreApplication::translate(
            "RestoreFromBackup", "%n 個のファイルは元に戻せませんでした。", nullptr, tally.failed);
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace pixtint
