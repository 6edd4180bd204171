// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewArea.h"

#include "mainwindow/LayoutRules.h"
#include "widgets/ControlPlacement.h"
#include "widgets/PictureView.h"

#include <QIcon>
#include <QPixmap>

namespace pixtint {

namespace {

QCursor pickCursor() {
    // The sight's hot spot is its centre.
    QIcon sight;
    sight.addFile(QStringLiteral(":/cursors/pick-cursor-32.png"));
    sight.addFile(QStringLiteral(":/cursors/pick-cursor-16.png"));
    const QPixmap pixmap = sight.pixmap(32, 32);
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

QString imageTip(Side side) {
    return side == Side::Before ? PreviewArea::tr("変換前画像") : PreviewArea::tr("変換後画像");
}

} // namespace

PreviewArea::PreviewArea(QWidget* window)
    : QObject(window)
    , pickCursor_(pickCursor()) {
    for (const Side side : {Side::Before, Side::After}) {
        const int index = static_cast<int>(side);
        PictureView* image = placeControl<PictureView>(
            window, indexedName("Image1", index), {index == 0 ? 3120.0 : 5040.0, 4080, 795, 795});
        image->setToolTip(imageTip(side));
        connect(image, &PictureView::shownChanged, this, &PreviewArea::shownChanged);
        connect(image, &PictureView::released, this,
                [this, side](Qt::MouseButton button) { emit released(side, button); });
        images_[index] = image;
    }
    arrow_ =
        placeControl<PictureView>(window, QStringLiteral("Image3"), LayoutRules::Design::arrow);
    arrow_->setPicture(QIcon(QStringLiteral(":/icons/arrow-right.svg")).pixmap(34, 22).toImage());
}

void PreviewArea::showPictures(const QImage& before, const QImage& after) {
    image(Side::Before).setPicture(before);
    image(Side::After).setPicture(after);
}

void PreviewArea::clearPictures() {
    image(Side::Before).clearPicture();
    image(Side::After).clearPicture();
}

bool PreviewArea::place(PreviewFit::Size size, const PreviewFit::PreviewRoom& area,
                        bool rowInserted) {
    const std::optional<PreviewFit::Size> fits = PreviewFit::fit(size, area);
    if (!fits) {
        return false;
    }
    const PreviewFit::Size fitted = PreviewFit::visible(*fits);
    const PreviewFit::ImagePlaces places =
        PreviewFit::placeImages(fitted, area, LayoutRules::Design::arrow.width, rowInserted);
    placeInTwips(image(Side::Before), places.before);
    placeInTwips(image(Side::After), places.after);
    beforeSize_ = fitted;
    return true;
}

void PreviewArea::placeArrow(const TwipsRect& rect) {
    placeInTwips(*arrow_, rect);
}

void PreviewArea::startPick(Side side) {
    image(side).setCursor(pickCursor_);
    image(side).setToolTip(tr("右クリックでキャンセル"));
}

void PreviewArea::endPick() {
    for (const Side side : {Side::Before, Side::After}) {
        image(side).unsetCursor();
        image(side).setToolTip(imageTip(side));
    }
}

void PreviewArea::setArrowEnabled(bool enabled) {
    arrow_->setEnabled(enabled);
}

} // namespace pixtint
