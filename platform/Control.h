#pragma once

#include "platform/Twips.h"

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace pixtint {

// The properties every control of the windows offers, on top of a real Qt widget: its place
// and size in twips (in the coordinates of its container), enabled state and tool tip.
// Geometry is kept exactly as set, so a value read back is the value written; the widget
// itself is placed at the nearest whole pixels.
template <class Widget> class Control : public Widget {
public:
    using Widget::Widget;

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }

    void setLeft(double twips) { Move(twips, top_, width_, height_); }
    void setTop(double twips) { Move(left_, twips, width_, height_); }
    void setWidth(double twips) { Move(left_, top_, twips, height_); }
    void setHeight(double twips) { Move(left_, top_, width_, twips); }

    void Move(double left, double top, double width, double height) {
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
        const int x = Twips::toPixels(left);
        const int y = Twips::toPixels(top);
        // A negative size is shown as nothing, as a control squeezed to zero would be.
        this->setGeometry(x, y, qMax(0, Twips::toPixels(left + width) - x),
                          qMax(0, Twips::toPixels(top + height) - y));
    }

    bool Enabled() const { return this->isEnabled(); }
    void setEnabled(bool enabled) { Widget::setEnabled(enabled); }

    QString ToolTipText() const { return this->toolTip(); }
    void setToolTipText(const QString& text) { this->setToolTip(text); }

    // Shrinks the font, half a point at a time, until `text` and `reserved` pixels beside it fit
    // the control's width: the design sizes were drawn for a narrower typeface than most
    // Japanese fonts here.
    void fitFontTo(const QString& text, int reserved = 0) {
        QFont font = this->font();
        while (font.pointSizeF() > SmallestPointSize &&
               QFontMetrics(font).horizontalAdvance(text) + reserved > this->width()) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
        }
        this->setFont(font);
    }

    // The same for the control's own caption and the indicator the style draws beside it: the
    // room its size hint asks for. For check boxes and option buttons; a push button's size hint
    // has a minimum width of its own, whatever its caption.
    void fitCaptionFont() {
        while (this->font().pointSizeF() > SmallestPointSize &&
               this->sizeHint().width() > this->width()) {
            QFont font = this->font();
            font.setPointSizeF(font.pointSizeF() - 0.5);
            this->setFont(font);
        }
    }

private:
    static constexpr double SmallestPointSize = 6.5;

    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
};

} // namespace pixtint
