// SPDX-License-Identifier: MIT
#include "mainwindow/RefusalReasons.h"

#include "engine/Error.h"

#include <QCoreApplication>

namespace pixtint {

namespace {

// The texts' translation context.
struct RefusalReasons {
    Q_DECLARE_TR_FUNCTIONS(RefusalReasons)
};

// The kind of picture the conversion refuses, in the window's words; a refusal that names no
// kind is a kind the window has no better words for.
QString refusedKindReason(const Refusal& refusal) {
    switch (refusal.what) {
    case Refused::BitCount:
        return RefusalReasons::tr("%1ビット画像は変換できません").arg(refusal.number);
    case Refused::JpegInside:
    case Refused::PngInside:
        return RefusalReasons::tr("BMP に埋め込まれた %1 画像は変換できません")
            .arg(refusal.what == Refused::JpegInside ? QStringLiteral("JPEG")
                                                     : QStringLiteral("PNG"));
    case Refused::Compression:
        return RefusalReasons::tr("%2 圧縮の%1ビット画像は変換できません")
            .arg(refusal.number)
            .arg(QString::fromStdString(refusal.compression));
    case Refused::HeaderSize:
        return RefusalReasons::tr("%1 バイトのヘッダーは読めません").arg(refusal.number);
    case Refused::ColourMasks:
        return RefusalReasons::tr("色の並びが読めない32ビット画像は変換できません");
    case Refused::NotABmp:
        return RefusalReasons::tr("BMP ファイルではありません");
    case Refused::Damaged:
        return RefusalReasons::tr("壊れた BMP ファイルです");
    case Refused::Unnamed:
        break;
    }
    return RefusalReasons::tr("この種類の画像は変換できません");
}

} // namespace

QString refusalReason(const Error& error) {
    switch (error.kind()) {
    case ErrorKind::Unsupported:
        return refusedKindReason(error.refusal());
    case ErrorKind::NotAPicture:
        if (error.refusal().what == Refused::NotABmp) {
            return refusedKindReason(error.refusal());
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
    case ErrorKind::ReadOnlyFile:
        break;
    }
    return RefusalReasons::tr("ファイルを読めません");
}

QString conversionFailedReason() {
    return RefusalReasons::tr("変換できませんでした");
}

} // namespace pixtint
