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
    scaled_ = QPixmap();
    update();
    if (wasShown != !picture_.isNull()) {
        emit shownChanged(!picture_.isNull());
    }
}

std::optional<QColor> PictureView::pictureColourAt(QPoint position) const {
    if (picture_.isNull() || !rect().contains(position)) {
        return std::nullopt;
    }
    // The same pixel the nearest-neighbour stretch draws there.
    const auto along = [](int at, int shown, int stored) {
        return std::min(stored - 1, static_cast<int>(static_cast<qint64>(at) * stored / shown));
    };
    const QColor pixel = picture_.pixelColor(along(position.x(), width(), picture_.width()),
                                             along(position.y(), height(), picture_.height()));
    return QColor(pixel.red(), pixel.green(), pixel.blue());
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
