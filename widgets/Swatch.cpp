// SPDX-License-Identifier: MIT
#include "widgets/Swatch.h"

#include "widgets/ColourValue.h"
#include "widgets/SystemColours.h"

#include <QPainter>

namespace pixtint {

Swatch::Swatch(QWidget* parent)
    : QLabel(parent)
    , value_(ColourValue::ButtonFace) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void Swatch::setColourValue(std::int32_t value) {
    value_ = value;
    update();
}

void Swatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), paintedColour(value_, window()->palette()));
    }
    QLabel::paintEvent(event); // the border
}

} // namespace pixtint
