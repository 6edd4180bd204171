#include "mainwindow/PreviewArea.h"

#include "mainwindow/ControlPlacement.h"
#include "platform/ImageBox.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace pixtint {

namespace {

const std::array<QString, 2> ImageTips{QStringLiteral("変換前画像"), QStringLiteral("変換後画像")};

QCursor pickPointer() {
    // The sight's hot spot is its centre.
    QIcon sight;
    sight.addFile(QStringLiteral(":/cursors/pick-cursor-32.png"));
    sight.addFile(QStringLiteral(":/cursors/pick-cursor-16.png"));
    const QPixmap pixmap = sight.pixmap(32, 32);
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

} // namespace

PreviewArea::PreviewArea(QWidget* window)
    : QObject(window) {
    const QCursor sight = pickPointer();
    for (int i = 0; i < 2; ++i) {
        images_[i] = placeControl<ImageBox>(window, indexedName("Image1", i), i == 0 ? 3120 : 5040,
                                            4080, 795, 795);
        images_[i]->setToolTipText(ImageTips[i]);
        images_[i]->setCustomPointer(sight);
        connect(images_[i], &ImageBox::MouseUp, this,
                [this, i](int button) { emit released(i, button); });
    }
    arrow_ = placeControl<ImageBox>(window, "Image3", 4320, 4320, 510, 330);
    arrow_->setPicture(QIcon(QStringLiteral(":/icons/arrow-right.svg")).pixmap(34, 22).toImage());
}

void PreviewArea::showPictures(const QImage& before, const QImage& after) {
    images_[BeforeImage]->setPicture(before);
    images_[AfterImage]->setPicture(after);
}

void PreviewArea::clearPictures() {
    images_[BeforeImage]->clearPicture();
    images_[AfterImage]->clearPicture();
}

void PreviewArea::place(PreviewFit::Size size, const PreviewFit::PreviewArea& area,
                        bool rowInserted) {
    const PreviewFit::Size fitted = PreviewFit::visible(PreviewFit::fit(size, area));
    ImageBox& before = *images_[BeforeImage];
    before.Move(before.Left(), before.Top(), fitted.width, fitted.height);
    before.setTop(PreviewFit::beforeTop(area, before.Height()));
    before.setLeft(PreviewFit::beforeLeft(area, arrow_->Width(), before.Width()));

    ImageBox& after = *images_[AfterImage];
    after.Move(after.Left(), before.Top(), fitted.width,
               PreviewFit::afterHeight(fitted.height, rowInserted));
    after.setLeft(PreviewFit::afterLeft(area, arrow_->Width()));
}

PreviewFit::Size PreviewArea::currentSize() const {
    return {PreviewFit::nearest(images_[BeforeImage]->Width()),
            PreviewFit::nearest(images_[BeforeImage]->Height())};
}

void PreviewArea::moveArrow(double left, double top) {
    arrow_->Move(left, top, arrow_->Width(), arrow_->Height());
}

double PreviewArea::arrowWidth() const {
    return arrow_->Width();
}

double PreviewArea::arrowHeight() const {
    return arrow_->Height();
}

void PreviewArea::startPick(int image) {
    images_[image]->setMousePointer(ImageBox::CustomPointer);
    images_[image]->setToolTipText(QStringLiteral("右クリックでキャンセル"));
}

void PreviewArea::endPick() {
    for (int i = 0; i < 2; ++i) {
        images_[i]->setMousePointer(ImageBox::DefaultPointer);
        images_[i]->setToolTipText(ImageTips[i]);
    }
}

void PreviewArea::setArrowEnabled(bool enabled) {
    arrow_->setEnabled(enabled);
}

} // namespace pixtint
