#pragma once

#include "platform/Control.h"

#include <QColor>
#include <QLabel>
#include <cstdint>
#include <optional>

namespace pixtint {

// A label: a caption, and optionally a background colour value of its own (a plain colour or a
// system-colour reference, kept as set) and a single-line border. The colour swatches of the
// windows are labels whose BackColor is the colour itself.
class Label : public Control<QLabel> {
public:
    explicit Label(QWidget* parent);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

    // The raw colour value. Without one of its own the label shows its container's background
    // and answers the button-face system colour, the classic default of a label.
    std::int32_t BackColor() const;
    void setBackColor(std::int32_t value);

    void setSingleLineBorder(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The colour a value is painted with: a plain colour as it is, a system colour as the
    // window's palette paints that part of a window.
    virtual QColor paintedColor(std::int32_t value) const;

private:
    std::optional<std::int32_t> backColor_;
};

} // namespace pixtint
