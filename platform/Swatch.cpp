#include "platform/Swatch.h"

#include "platform/ColorValue.h"

namespace pixtint {

Swatch::Swatch(QWidget* parent)
    : Label(parent) {
    setSingleLineBorder(true);
}

QColor Swatch::paintedColor(std::int32_t value) const {
    return ColorValue::isSystemColor(value) ? window()->palette().color(QPalette::Window)
                                            : ColorValue::toColor(value);
}

} // namespace pixtint
