#pragma once

#include "platform/Control.h"

#include <QLabel>
#include <QStatusBar>
#include <array>

namespace pixtint {

// The status bar docked at the bottom of a window, with three text panels numbered from 1.
class StatusBar : public Control<QStatusBar> {
public:
    static constexpr int PanelCount = 3;

    explicit StatusBar(QWidget* parent);

    QString PanelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    void setPanelToolTip(int panel, const QString& text);

private:
    QLabel* panel(int number) const;

    std::array<QLabel*, PanelCount> panels_{};
};

} // namespace pixtint
