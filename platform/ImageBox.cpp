#include "platform/ImageBox.h"

#include "platform/PictureDecoding.h"

#include <QMouseEvent>
#include <QPainter>

namespace pixtint {

namespace {

int classicButtonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

} // namespace

ImageBox::ImageBox(QWidget* parent)
    : Control<QWidget>(parent) {}

void ImageBox::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void ImageBox::LoadPicture(const std::filesystem::path& path) {
    setPicture(decodePictureFile(path));
}

void ImageBox::LoadPicture(const ByteSource& source) {
    setPicture(decodePicture(source));
}

void ImageBox::setMousePointer(int pointer) {
    mousePointer_ = pointer;
    if (pointer == CustomPointer) {
        setCursor(customPointer_);
    } else {
        unsetCursor();
    }
}

void ImageBox::paintEvent(QPaintEvent*) {
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

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(classicButtonNumber(event->button()));
}

void ImageBox::resizeEvent(QResizeEvent* event) {
    scaled_ = QPixmap();
    QWidget::resizeEvent(event);
}

} // namespace pixtint
