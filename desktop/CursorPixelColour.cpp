// SPDX-License-Identifier: MIT
#include "desktop/CursorPixelColour.h"

#include "widgets/ColourValue.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <optional>

namespace pixtint {

namespace {

std::optional<QColor> firstPixel(const QPixmap& pixmap) {
    // On a high-dpi screen one point may come back as several device pixels; they are one colour.
    const QImage image = pixmap.toImage();
    if (image.isNull() || image.width() < 1 || image.height() < 1) {
        return std::nullopt;
    }
    return image.pixelColor(0, 0);
}

std::optional<QColor> screenPixel(const QPoint& position) {
    QScreen* screen = QGuiApplication::screenAt(position);
    if (screen == nullptr) {
        return std::nullopt;
    }
    const QPoint onScreen = position - screen->geometry().topLeft();
    return firstPixel(screen->grabWindow(0, onScreen.x(), onScreen.y(), 1, 1));
}

std::optional<QColor> windowPixel(QWidget* window, const QPoint& position) {
    if (window == nullptr || !window->isVisible()) {
        return std::nullopt;
    }
    const QPoint local = window->mapFromGlobal(position);
    if (!window->rect().contains(local)) {
        return std::nullopt;
    }
    return firstPixel(window->grab(QRect(local, QSize(1, 1))));
}

} // namespace

std::int32_t cursorPixelColour(QWidget* ownWindow) {
    const QPoint position = QCursor::pos();
    std::optional<QColor> colour = screenPixel(position);
    if (!colour) {
        colour = windowPixel(ownWindow, position);
    }
    return colour ? ColourValue::fromColour(*colour) : 0;
}

} // namespace pixtint
