#pragma once

#include "platform/Control.h"

#include <QPushButton>

namespace pixtint {

// A push button; its click is QPushButton::clicked.
class CommandButton : public Control<QPushButton> {
public:
    using Control<QPushButton>::Control;

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
};

} // namespace pixtint
