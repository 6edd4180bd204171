// SPDX-License-Identifier: MIT
#include "platform/PictureView.h"

#include <QMouseEvent>
#include <QPainter>

namespace pixtint {

PictureView::PictureView(QWidget* parent)
    : QWidget(parent) {}

void PictureView::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    if (picture_.isNull() || width() <= 0 || height() <= 0) {
        return;
    }
    if (scaled_.size() != size() * devicePixelRatioF()) {
        scaled_ = QPixmap::fromImage(picture_.scaled(
            size() * devicePixelRatioF(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
        scaled_.setDevicePixelRatio(devicePixelRatioF());
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, scaled_);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button());
}

void PictureView::resizeEvent(QResizeEvent* event) {
    scaled_ = QPixmap();
    QWidget::resizeEvent(event);
}

} // namespace pixtint
