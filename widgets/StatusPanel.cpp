// SPDX-License-Identifier: MIT
#include "widgets/StatusPanel.h"

#include <QEvent>
#include <QFontMetrics>

namespace pixtint {

namespace {
constexpr int TextIndent = 3;
constexpr double SmallestPointSize = 6.5;
} // namespace

StatusPanel::StatusPanel(QWidget* parent)
    : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(TextIndent);
    // The panels share the bar by their stretch alone: a long text must not push the others,
    // or itself, past the window's edge.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusPanel::setFullText(const QString& text) {
    fullText_ = text;
    showFitted();
}

void StatusPanel::setOwnToolTip(const QString& tip) {
    ownToolTip_ = tip;
    showFitted();
}

int StatusPanel::wholeTextWidth() const {
    const QMargins margins = contentsMargins();
    return fontMetrics().horizontalAdvance(fullText_) + indent() + margins.left() +
           margins.right() + 2 * frameWidth() + 1;
}

void StatusPanel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitFontToHeight();
    showFitted();
}

void StatusPanel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitFontToHeight(); // a smaller font comes back here once, and then fits
        showFitted();
    }
}

void StatusPanel::fitFontToHeight() {
    QFont font = this->font();
    while (font.pointSizeF() > SmallestPointSize &&
           QFontMetrics(font).height() > contentsRect().height()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    if (font != this->font()) {
        setFont(font);
    }
}

void StatusPanel::showFitted() {
    const int room = contentsRect().width() - indent();
    const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideMiddle, room);
    setText(shown);
    setToolTip(shown == fullText_ ? ownToolTip_ : fullText_);
}

} // namespace pixtint
