// SPDX-License-Identifier: MIT
#include "bench/ShownWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace pixtint {

void waitUntilShown(QWidget& window) {
    QElapsedTimer waited;
    waited.start();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (waited.elapsed() > 5000) {
            std::fprintf(stderr, "the window was never shown\n");
            std::exit(1);
        }
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    settle();
}

void settle() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

} // namespace pixtint
