#pragma once

#include "platform/Control.h"
#include "platform/StatusPanel.h"

#include <QWidget>
#include <array>

namespace pixtint {

// The status bar docked at the bottom of a window, with three text panels numbered from 1.
// The panels take the bar's whole height, less a pixel above and below, so that a text in the
// window's font shows whole in a bar of the design height.
class StatusBar : public Control<QWidget> {
public:
    static constexpr int PanelCount = 3;

    explicit StatusBar(QWidget* parent);

    // The whole text, however the panel shortens it to fit.
    QString PanelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    void setPanelToolTip(int panel, const QString& text);

private:
    StatusPanel* panel(int number) const;

    std::array<StatusPanel*, PanelCount> panels_{};
};

} // namespace pixtint
