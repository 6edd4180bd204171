#pragma once

#include "platform/Control.h"

#include <QImage>
#include <QPixmap>
#include <filesystem>

namespace pixtint {

class ByteSource;

// An image control: shows its picture stretched to its own size with nearest-neighbour
// scaling, so that icon pixels stay sharp. Raises MouseUp with the classic button number
// (1 left, 2 right, 4 middle).
class ImageBox : public Control<QWidget> {
    Q_OBJECT
public:
    static constexpr int DefaultPointer = 0;
    static constexpr int CustomPointer = 99;

    explicit ImageBox(QWidget* parent);

    const QImage& Picture() const { return picture_; }
    void setPicture(const QImage& picture);
    void clearPicture() { setPicture(QImage()); }
    // Reads the file at `path` as a picture (see decodePictureFile). Throws AppError.
    void LoadPicture(const std::filesystem::path& path);
    // Reads converted bytes as a picture the same way. Throws AppError.
    void LoadPicture(const ByteSource& source);

    int MousePointer() const { return mousePointer_; }
    // 99 shows the custom pointer given by setCustomPointer, 0 the default one.
    void setMousePointer(int pointer);
    void setCustomPointer(const QCursor& cursor) { customPointer_ = cursor; }

    // Repaints at once, so the picture is on screen before a long operation starts.
    void Refresh() { repaint(); }

signals:
    void MouseUp(int button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
    QPixmap scaled_; // the picture at the control's size, made when first painted
    int mousePointer_ = DefaultPointer;
    QCursor customPointer_;
};

} // namespace pixtint
