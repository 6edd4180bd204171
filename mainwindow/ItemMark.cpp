#include "mainwindow/ItemMark.h"

#include <array>
#include <utility>

namespace pixtint {

namespace {

const std::array<std::pair<ItemMark, QString>, 4> IconKeys{{
    {ItemMark::Convertible, QStringLiteral("BMP")},
    {ItemMark::NotConvertible, QStringLiteral("NoChg")},
    {ItemMark::Converted, QStringLiteral("OK")},
    {ItemMark::Failed, QStringLiteral("NG")},
}};

} // namespace

QString iconKey(ItemMark mark) {
    for (const auto& [each, key] : IconKeys) {
        if (each == mark) {
            return key;
        }
    }
    return {};
}

ItemMark markOfIconKey(const QString& key) {
    for (const auto& [mark, each] : IconKeys) {
        if (each == key) {
            return mark;
        }
    }
    return ItemMark::Failed;
}

bool isConvertibleMark(ItemMark mark) {
    return mark == ItemMark::Convertible || mark == ItemMark::Converted;
}

} // namespace pixtint
