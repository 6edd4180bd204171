// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <array>

namespace pixtint {

class StatusPanel;

// The status bar along the bottom of the window: the picture's width and height, the file's
// size and the file's path, each in a sunken panel of its own. The panels take the bar's whole
// height, less a pixel above and below, so that a text in the window's font shows whole in a
// bar of the design height. The size and the reason a picture is not converted show whole, the
// path taking what room is left and shortening itself in the middle.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    enum class Field { Dimensions, FileSize, Path };

    explicit StatusBar(QWidget* window);

    // The whole text, however the panel shortens it to fit.
    QString text(Field field) const;
    void setText(Field field, const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitPanels();
    StatusPanel& panel(Field field) const { return *panels_[static_cast<int>(field)]; }

    std::array<StatusPanel*, 3> panels_{};
};

} // namespace pixtint
