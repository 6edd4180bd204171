#include "ImageBox.h"

#include "AppError.h"
#include "FileBytes.h"

#include <QBuffer>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int InvalidPicture = 481;

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

QImage decodePicture(const std::vector<std::uint8_t>& bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Large photographs are welcome: 8000 x 6000 alone needs about 190 MB decoded.
    QImageReader::setAllocationLimit(4096);
    QImage picture = reader.read();
    if (picture.isNull()) {
        throw AppError(InvalidPicture, "ピクチャが不正です。");
    }
    return picture;
}

ImageBox::ImageBox(QWidget* parent)
    : Control<QWidget>(parent) {}

void ImageBox::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void ImageBox::LoadPicture(const std::filesystem::path& path) {
    setPicture(decodePicture(readWholeFile(path)));
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
        scaled_ = QPixmap::fromImage(picture_.scaled(size() * devicePixelRatioF(),
                                                     Qt::IgnoreAspectRatio,
                                                     Qt::FastTransformation));
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
