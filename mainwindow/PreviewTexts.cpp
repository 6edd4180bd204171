// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewTexts.h"

#include <QCoreApplication>

namespace pixtint {

namespace PreviewTexts {

QString sizeText(std::int64_t bytes) {
    QString digits = bytes == 0 ? QString() : QString::number(bytes);
    const int firstDigit = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (int comma = digits.size() - 3; comma > firstDigit; comma -= 3) {
        digits.insert(comma, QLatin1Char(','));
    }
    return QCoreApplication::translate("PreviewTexts", "%1バイト").arg(digits);
}

QString dimensionText(std::int32_t width, std::int32_t height) {
    return QString::number(width) + QStringLiteral("×") + QString::number(height);
}

} // namespace PreviewTexts

} // namespace pixtint
