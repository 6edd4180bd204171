// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/Twips.h"

#include <QString>
#include <QWidget>

namespace pixtint {

// Creates a widget owned by `container`, named with its control name (which automation finds
// it by) and placed at its design geometry.
template <class Widget>
Widget* placeControl(QWidget* container, const QString& name, const TwipsRect& rect) {
    auto* widget = new Widget(container);
    widget->setObjectName(name);
    placeInTwips(*widget, rect);
    return widget;
}

// The name of a member of a control array, e.g. "Command5(2)".
inline QString indexedName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace pixtint
