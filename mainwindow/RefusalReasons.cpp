// SPDX-License-Identifier: MIT
#include "mainwindow/RefusalReasons.h"

#include "engine/Error.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace pixtint {

namespace {

// The texts' translation context.
struct RefusalReasons {
    Q_DECLARE_TR_FUNCTIONS(RefusalReasons)
};

QRegularExpressionMatch matchOf(const char* pattern, const QString& detail) {
    return QRegularExpression(QLatin1String(pattern)).match(detail);
}

// The core names the kind it does not convert in its detail; the window says the same in its
// own words, and anything it does not recognise as a kind it does not convert.
QString unsupportedReason(const QString& detail) {
    if (const auto m = matchOf("^(\\d+)-bit picture$", detail); m.hasMatch()) {
        return RefusalReasons::tr("%1ビット画像は変換できません").arg(m.captured(1));
    }
    if (const auto m = matchOf("^a (\\S+) picture inside a BMP$", detail); m.hasMatch()) {
        return RefusalReasons::tr("BMP に埋め込まれた %1 画像は変換できません").arg(m.captured(1));
    }
    if (const auto m = matchOf("^compressed 24-bit picture \\((.+)\\)$", detail); m.hasMatch()) {
        return RefusalReasons::tr("%1 圧縮の24ビット画像は変換できません").arg(m.captured(1));
    }
    if (const auto m = matchOf("^(\\d+)-bit picture with (.+) compression$", detail);
        m.hasMatch()) {
        return RefusalReasons::tr("%2 圧縮の%1ビット画像は変換できません")
            .arg(m.captured(1), m.captured(2));
    }
    if (const auto m = matchOf("^a (\\d+)-byte header$", detail); m.hasMatch()) {
        return RefusalReasons::tr("%1 バイトのヘッダーは読めません").arg(m.captured(1));
    }
    if (detail.startsWith(QLatin1String("32-bit picture whose"))) {
        return RefusalReasons::tr("色の並びが読めない32ビット画像は変換できません");
    }
    return RefusalReasons::tr("この種類の画像は変換できません");
}

} // namespace

QString refusalReason(const Error& error) {
    switch (error.kind()) {
    case ErrorKind::Unsupported:
        return unsupportedReason(QString::fromStdString(error.detail()));
    case ErrorKind::NotAPicture:
        if (error.detail() == "not a BMP file") {
            return RefusalReasons::tr("BMP ファイルではありません");
        }
        [[fallthrough]];
    case ErrorKind::TooShort:
    case ErrorKind::NoPixels:
    case ErrorKind::Truncated:
    case ErrorKind::InvalidWidth:
        return RefusalReasons::tr("壊れた BMP ファイルです");
    case ErrorKind::NoPaletteRoom:
        return RefusalReasons::tr("パレットに新しい行の色を入れる空きがありません");
    case ErrorKind::OutOfMemory:
        return RefusalReasons::tr("メモリが不足しています");
    case ErrorKind::System:
    case ErrorKind::ChangedDuringRun:
    case ErrorKind::NotABackup:
    case ErrorKind::AttributeNotKept:
        break;
    }
    return RefusalReasons::tr("ファイルを読めません");
}

QString conversionFailedReason() {
    return RefusalReasons::tr("変換できませんでした");
}

} // namespace pixtint
