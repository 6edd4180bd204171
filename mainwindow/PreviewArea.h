// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/PreviewFit.h"
#include "mainwindow/SessionState.h"

#include <QCursor>
#include <QImage>
#include <QObject>
#include <array>

class QWidget;

namespace pixtint {

class PictureView;

// The preview area: the picture before and after conversion either side of an arrow. The
// images are the window's own controls; this places them, shows pictures in them, and tells
// of releases on them.
class PreviewArea : public QObject {
    Q_OBJECT
public:
    explicit PreviewArea(QWidget* window);

    PictureView& image(Side side) const { return *images_[static_cast<int>(side)]; }
    void showPictures(const QImage& before, const QImage& after);
    void clearPictures();

    // Sizes both images for a picture shown at `size` (twips), fitted into `area`, and places
    // them around the arrow; a row being inserted makes the after image a fifteenth taller.
    // A size that cannot be fitted (see PreviewFit::fit) leaves the images where they are and
    // answers false.
    bool place(PreviewFit::Size size, const PreviewFit::PreviewRoom& area, bool rowInserted);
    // The size the before image was last given, in twips.
    PreviewFit::Size currentSize() const { return beforeSize_; }
    void placeArrow(const TwipsRect& rect);

    // Shows the pick pointer over the preview a pick was started on, until endPick.
    void startPick(Side side);
    void endPick();
    void setArrowEnabled(bool enabled);

signals:
    // A mouse button was released over a preview image.
    void released(Side side, Qt::MouseButton button);
    // A preview image came to show a picture, or no longer shows one.
    void shownChanged();

private:
    std::array<PictureView*, 2> images_{};
    PictureView* arrow_ = nullptr;
    QCursor pickCursor_;
    PreviewFit::Size beforeSize_{795, 795}; // the design size
};

} // namespace pixtint
