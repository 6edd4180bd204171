#pragma once

#include "platform/Control.h"

#include <QGroupBox>

namespace pixtint {

// A frame with a caption; its children are placed in its own coordinates.
class Frame : public Control<QGroupBox> {
public:
    using Control<QGroupBox>::Control;

    QString Caption() const { return title(); }
    void setCaption(const QString& caption) { setTitle(caption); }
};

} // namespace pixtint
