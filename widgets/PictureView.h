// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <optional>

namespace pixtint {

// Shows a picture stretched to the widget's size with nearest-neighbour scaling, so that icon
// pixels stay sharp, and tells of mouse-button releases over it.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent);

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    void clearPicture() { setPicture(QImage()); }
    // The colour of the picture's pixel drawn at `position` (in the widget), opaque: a palette
    // picture's entry, a four-byte pixel's colour channels without its alpha. Nothing outside
    // the picture.
    std::optional<QColor> pictureColourAt(QPoint position) const;

signals:
    void released(Qt::MouseButton button);
    // The view came to show a picture, or no longer shows one.
    void shownChanged(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const QImage& stretchedPicture() const;

    QImage picture_;
    // The picture stretched to the widget's device pixels, made when first painted or picked
    // from: the pick reads the very pixel the painting shows.
    mutable QImage stretched_;
    QPixmap shown_; // the same, where the display keeps it
};

} // namespace pixtint
