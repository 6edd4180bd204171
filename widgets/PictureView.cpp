// SPDX-License-Identifier: MIT
#include "widgets/PictureView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace pixtint {

PictureView::PictureView(QWidget* parent)
    : QWidget(parent) {}

void PictureView::setPicture(const QImage& picture) {
    const bool wasShown = !picture_.isNull();
    picture_ = picture;
    stretched_ = QImage();
    shown_ = QPixmap();
    update();
    if (wasShown != !picture_.isNull()) {
        emit shownChanged(!picture_.isNull());
    }
}

// Nearest-neighbour stretching keeps each pixel one of the picture's own colours (the
// previews are opaque: three-byte or palette pixels), so the stretched picture tells the
// colour of whatever pixel is shown, where Qt's rounding puts it.
const QImage& PictureView::stretchedPicture() const {
    const QSize device = size() * devicePixelRatioF();
    if (stretched_.size() != device) {
        stretched_ = picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return stretched_;
}

std::optional<QColor> PictureView::pictureColourAt(QPoint position) const {
    if (picture_.isNull() || !rect().contains(position)) {
        return std::nullopt;
    }
    const QImage& shown = stretchedPicture();
    const QPoint pixel = (QPointF(position) * devicePixelRatioF()).toPoint();
    const QColor colour = shown.pixelColor(std::min(pixel.x(), shown.width() - 1),
                                           std::min(pixel.y(), shown.height() - 1));
    return QColor(colour.red(), colour.green(), colour.blue());
}

void PictureView::paintEvent(QPaintEvent*) {
    if (picture_.isNull() || width() <= 0 || height() <= 0) {
        return;
    }
    if (shown_.size() != size() * devicePixelRatioF()) {
        shown_ = QPixmap::fromImage(stretchedPicture());
        shown_.setDevicePixelRatio(devicePixelRatioF());
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown_);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button());
}

void PictureView::resizeEvent(QResizeEvent* event) {
    shown_ = QPixmap();
    QWidget::resizeEvent(event);
}

} // namespace pixtint
