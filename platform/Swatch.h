#pragma once

#include "platform/Label.h"

#include <QColor>

namespace pixtint {

// A colour swatch: a bordered label whose BackColor is a colour the conversion uses. The
// conversion writes a system colour as the background colour of the window it works for, so a
// swatch paints a system colour as that background too: the user sees what will be written.
class Swatch : public Label {
public:
    explicit Swatch(QWidget* parent);

    // The colour the swatch shows, which is the colour the conversion writes for it.
    QColor ShownColor() const { return paintedColor(BackColor()); }

protected:
    QColor paintedColor(std::int32_t value) const override;
};

} // namespace pixtint
