#include "platform/CommandButton.h"

#include <QKeyEvent>

namespace pixtint {

void CommandButton::keyPressEvent(QKeyEvent* event) {
    // Qt clicks on Enter only for a dialog's default buttons; a plain window's buttons ignore it.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && !event->isAutoRepeat()) {
        click();
        return;
    }
    Control<QPushButton>::keyPressEvent(event);
}

} // namespace pixtint
