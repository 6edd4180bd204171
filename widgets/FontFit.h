// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QFont;

class QWidget;

namespace pixtint {

// The design sizes of the windows were drawn for a narrower typeface than most Japanese fonts
// here, so a caption that would not fit gets a smaller font, half a point at a time, down to
// 6.5 points.

// Until `fits` accepts the widget's font.
void shrinkFontUntil(QWidget& widget, const std::function<bool(const QFont&)>& fits);

// Until `text` and `reserved` pixels beside it fit the widget's width.
void shrinkFontToFit(QWidget& widget, const QString& text, int reserved = 0);

// Until the room the widget's size hint asks for fits its width: a check box's or option
// button's caption with the indicator the style draws beside it. (A push button's size hint has
// a minimum width of its own, whatever its caption.)
void shrinkFontToSizeHint(QWidget& widget);

} // namespace pixtint
