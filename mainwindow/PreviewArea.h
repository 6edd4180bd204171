#pragma once

#include "mainwindow/PreviewFit.h"

#include <QImage>
#include <QObject>
#include <array>
#include <cstdint>

class QWidget;

namespace pixtint {

class ImageBox;

// The preview area: the picture before and after conversion either side of an arrow. The
// images are the window's own controls; this places them, shows pictures in them, and tells
// of releases on them.
class PreviewArea : public QObject {
    Q_OBJECT
public:
    static constexpr int BeforeImage = 0;
    static constexpr int AfterImage = 1;

    explicit PreviewArea(QWidget* window);

    ImageBox& image(int index) const { return *images_[index]; }
    void showPictures(const QImage& before, const QImage& after);
    void clearPictures();

    // Sizes both images for a picture shown at `size` (twips), fitted into `area`, and places
    // them around the arrow; a row being inserted makes the after image a fifteenth taller.
    // Throws AppError when the fit divides by zero or overflows.
    void place(PreviewFit::Size size, const PreviewFit::PreviewArea& area, bool rowInserted);
    // The before image's current size, in whole twips.
    PreviewFit::Size currentSize() const;
    void moveArrow(double left, double top);
    double arrowWidth() const;
    double arrowHeight() const;

    // Shows the pick pointer over the preview a pick was started on, until endPick.
    void startPick(int image);
    void endPick();
    void setArrowEnabled(bool enabled);

signals:
    // A mouse button (1 left, 2 right, 4 middle) was released over a preview image.
    void released(int image, int button);

private:
    std::array<ImageBox*, 2> images_{};
    ImageBox* arrow_ = nullptr;
};

} // namespace pixtint
