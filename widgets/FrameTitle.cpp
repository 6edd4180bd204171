// SPDX-License-Identifier: MIT
#include "widgets/FrameTitle.h"

#include <QEvent>
#include <QGroupBox>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace pixtint {

namespace {

constexpr int TitleIndent = 6;  // from the frame's left edge to the gap in its border
constexpr int TitlePadding = 2; // either side of the title, inside the gap

// Paints the frame in place of its style: an etched border from half a line below the
// frame's top, its title on the border in a gap of its own. Styles differ on where the title
// and the border go (some put the title above the border, which then runs through the frame's
// first row of controls), so the frame is drawn the same way whichever one the program runs
// with, in the colours of the palette.
class TitleInBorderPainter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return QObject::eventFilter(watched, event);
        }
        paint(*static_cast<QGroupBox*>(watched));
        return true;
    }

private:
    static void paint(QGroupBox& frame) {
        QPainter painter(&frame);
        const QFontMetrics metrics(frame.font());
        const QPalette& palette = frame.palette();
        qDrawShadeRect(&painter, frame.rect().adjusted(0, metrics.height() / 2, 0, 0), palette,
                       true, 1, 0);
        const QString title = frame.title();
        if (title.isEmpty()) {
            return;
        }
        const QRect gap(TitleIndent, 0, metrics.horizontalAdvance(title) + 2 * TitlePadding,
                        metrics.height());
        painter.fillRect(gap, palette.brush(frame.backgroundRole()));
        frame.style()->drawItemText(&painter, gap, Qt::AlignCenter | Qt::TextShowMnemonic, palette,
                                    frame.isEnabled(), title, QPalette::WindowText);
    }
};

} // namespace

void putTitleInBorder(QGroupBox& frame) {
    frame.installEventFilter(new TitleInBorderPainter(&frame)); // owned by the frame
}

} // namespace pixtint
