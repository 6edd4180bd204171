// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <cstdint>

namespace pixtint {

// A bordered colour swatch holding a colour value, kept as set: a plain colour or a
// system-colour reference. The conversion writes a system colour as the background colour of
// the window it works for, so the swatch paints a system colour as that background too: the
// user sees what will be written.
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
