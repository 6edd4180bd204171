#pragma once

#include "platform/Control.h"

#include <QPushButton>

namespace pixtint {

// A push button; its click is QPushButton::clicked. Enter on the focused button clicks it as
// Space does, in the main window as much as in a dialog.
class CommandButton : public Control<QPushButton> {
public:
    using Control<QPushButton>::Control;

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace pixtint
