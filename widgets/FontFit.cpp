// SPDX-License-Identifier: MIT
#include "widgets/FontFit.h"

#include <QFontMetrics>
#include <QWidget>

namespace pixtint {

namespace {
constexpr double SmallestPointSize = 6.5;
constexpr double Step = 0.5;
} // namespace

void shrinkFontUntil(QWidget& widget, const std::function<bool(const QFont&)>& fits) {
    QFont font = widget.font();
    while (font.pointSizeF() > SmallestPointSize && !fits(font)) {
        font.setPointSizeF(font.pointSizeF() - Step);
    }
    widget.setFont(font);
}

void shrinkFontToFit(QWidget& widget, const QString& text, int reserved) {
    QFont font = widget.font();
    while (font.pointSizeF() > SmallestPointSize &&
           QFontMetrics(font).horizontalAdvance(text) + reserved > widget.width()) {
        font.setPointSizeF(font.pointSizeF() - Step);
    }
    widget.setFont(font);
}

void shrinkFontToSizeHint(QWidget& widget) {
    while (widget.font().pointSizeF() > SmallestPointSize &&
           widget.sizeHint().width() > widget.width()) {
        QFont font = widget.font();
        font.setPointSizeF(font.pointSizeF() - Step);
        widget.setFont(font);
    }
}

} // namespace pixtint
