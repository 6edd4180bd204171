// SPDX-License-Identifier: MIT
#include "widgets/FrameTitle.h"

#include <QApplication>
#include <QGroupBox>
#include <QProxyStyle>
#include <QStyleFactory>

namespace pixtint {

namespace {

// The application's style, but for the title's place.
class TitleInBorderStyle : public QProxyStyle {
public:
    TitleInBorderStyle()
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == SH_GroupBox_TextLabelVerticalAlignment) {
            return Qt::AlignVCenter;
        }
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

} // namespace

void putTitleInBorder(QGroupBox& frame) {
    auto* style = new TitleInBorderStyle;
    style->setParent(&frame); // owned by the frame, which alone uses it
    frame.setStyle(style);
}

} // namespace pixtint
