// SPDX-License-Identifier: MIT
#include "mainwindow/ItemMark.h"

namespace pixtint {

bool isConvertibleMark(ItemMark mark) {
    return mark == ItemMark::Convertible || mark == ItemMark::Converted;
}

} // namespace pixtint
