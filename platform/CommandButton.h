#pragma once

#include "Control.h"

#include <QPushButton>

// A push button; its click is QPushButton::clicked.
class CommandButton : public Control<QPushButton> {
public:
    using Control<QPushButton>::Control;

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
};
