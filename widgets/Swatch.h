// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <cstdint>

namespace pixtint {

// A bordered colour swatch painting a colour value, kept as set: a plain colour or a
// system-colour reference, which it paints through the system-colour table (SystemColours.h).
class Swatch : public QLabel {
public:
    explicit Swatch(QWidget* parent);

    std::int32_t colourValue() const { return value_; }
    void setColourValue(std::int32_t value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t value_;
};

} // namespace pixtint
