#pragma once

#include <QString>
#include <QWidget>

namespace pixtint {

// Creates a control owned by `container`, with its control name and design geometry (twips,
// in the container's coordinates).
template <class ControlType>
ControlType* placeControl(QWidget* container, const QString& name, double left, double top,
                          double width, double height) {
    auto* control = new ControlType(container);
    control->setObjectName(name);
    control->Move(left, top, width, height);
    return control;
}

// The name of a member of a control array, e.g. "Command5(2)".
inline QString indexedName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace pixtint
