// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/PreviewFit.h"

#include <QObject>
#include <optional>

class QWidget;

namespace pixtint {

class CommandRow;
class Dialogs;
class FilePanel;
class PreviewArea;
class StatusBar;

// The window's layout: the minimum size, the controls that follow the window's edges, and the
// room left for the preview, told through laidOut so that the preview can be placed again.
class WindowLayout : public QObject {
    Q_OBJECT
public:
    // The panels the layout places; all belong to `window`, as do its message boxes.
    struct Panels {
        FilePanel& files;
        QWidget& conversionFrame;
        CommandRow& commands;
        PreviewArea& preview;
        StatusBar& statusBar;
    };

    WindowLayout(QWidget& window, Dialogs& dialogs, Panels panels);

    // The window has a new size. One too small is corrected, after a message.
    void windowResized();
    // Restoring brings no resize with it, yet the window may have been resized, or left too
    // small, while minimized.
    void windowRestored();

signals:
    // The controls follow the window's new size; `room` is what they leave for the preview.
    void laidOut(const PreviewFit::PreviewRoom& room);

private:
    void followWindowSize();
    void requestMinimumSizeCorrection();
    void correctMinimumSize();
    std::optional<PreviewFit::PreviewRoom> layOutControls();

    QWidget& window_;
    Dialogs& dialogs_;
    Panels panels_;
    bool sizeCorrectionPending_ = false;
};

} // namespace pixtint
