#include "platform/Form.h"

#include <QApplication>
#include <QScreen>

namespace pixtint {

Form::Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {}

QSize Form::frameExtra() const {
    // Before the window is shown the frame is not known; it is then taken as none.
    const QRect frame = frameGeometry();
    return {frame.width() - width(), frame.height() - height()};
}

double Form::Width() const {
    return Twips::fromPixels(width() + frameExtra().width());
}

double Form::Height() const {
    return Twips::fromPixels(height() + frameExtra().height());
}

void Form::setWidth(double twips) {
    resize(qMax(1, Twips::toPixels(twips) - frameExtra().width()), height());
}

void Form::setHeight(double twips) {
    resize(width(), qMax(1, Twips::toPixels(twips) - frameExtra().height()));
}

void Form::setClientSize(double widthTwips, double heightTwips) {
    resize(Twips::toPixels(widthTwips), Twips::toPixels(heightTwips));
}

void Form::centreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(available.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

BusyPointer::BusyPointer(Form& form)
    : form_(form) {
    ++form_.busyDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer() {
    QApplication::restoreOverrideCursor();
    --form_.busyDepth_;
}

} // namespace pixtint
