// SPDX-License-Identifier: MIT
#include "mainwindow/ItemMark.h"

namespace pixtint {

QString markName(ItemMark mark) {
    switch (mark) {
    case ItemMark::Convertible:
        return QStringLiteral("BMP");
    case ItemMark::NotConvertible:
        return QStringLiteral("NoChg");
    case ItemMark::Converted:
        return QStringLiteral("OK");
    case ItemMark::Failed:
        break;
    }
    return QStringLiteral("NG");
}

bool isConvertibleMark(ItemMark mark) {
    return mark == ItemMark::Convertible || mark == ItemMark::Converted;
}

} // namespace pixtint
