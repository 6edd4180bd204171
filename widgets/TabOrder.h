// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <vector>

namespace pixtint {

// Tab visits `widgets` in the order given. Without it, Tab follows the order in which the
// controls were created, which need not be the order in which the window reads.
inline void chainTabOrder(const std::vector<QWidget*>& widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

} // namespace pixtint
