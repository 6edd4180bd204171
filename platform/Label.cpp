#include "platform/Label.h"

#include "platform/ColorValue.h"

#include <QPainter>

namespace pixtint {

Label::Label(QWidget* parent)
    : Control<QLabel>(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

std::int32_t Label::BackColor() const {
    return backColor_.value_or(ColorValue::ButtonFace);
}

void Label::setBackColor(std::int32_t value) {
    backColor_ = value;
    update();
}

void Label::setSingleLineBorder(bool on) {
    setFrameStyle(on ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
}

void Label::paintEvent(QPaintEvent* event) {
    if (backColor_) {
        // System colours follow the window's palette at the moment of painting.
        QPainter painter(this);
        painter.fillRect(rect(), paintedColor(*backColor_));
    }
    QLabel::paintEvent(event);
}

QColor Label::paintedColor(std::int32_t value) const {
    return ColorValue::paintedColor(value, window()->palette());
}

} // namespace pixtint
