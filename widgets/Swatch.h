// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <cstdint>

namespace pixtint {

// A bordered colour swatch holding a colour value, kept as set: a plain colour or a
// system-colour reference. It paints a system colour through the system-colour table
// (SystemColours.h); the conversion writes any system colour as the background colour of the
// window it works for (shownColour).
class Swatch : public QLabel {
public:
    explicit Swatch(QWidget* parent);

    std::int32_t colourValue() const { return value_; }
    void setColourValue(std::int32_t value);
    // The colour the swatch shows, which is the colour the conversion writes for it.
    QColor shownColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t value_;
};

} // namespace pixtint
