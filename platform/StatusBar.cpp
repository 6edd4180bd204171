#include "platform/StatusBar.h"

#include "engine/AppError.h"

namespace pixtint {

StatusBar::StatusBar(QWidget* parent)
    : Control<QStatusBar>(parent) {
    setSizeGripEnabled(false);
    const std::array<int, PanelCount> stretch{2, 2, 5};
    for (int i = 0; i < PanelCount; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        addPermanentWidget(panels_[i], stretch[i]);
    }
}

QLabel* StatusBar::panel(int number) const {
    if (number < 1 || number > PanelCount) {
        throw AppError(ErrorNumber::SubscriptOutOfRange);
    }
    return panels_[number - 1];
}

QString StatusBar::PanelText(int number) const {
    return panel(number)->text();
}

void StatusBar::setPanelText(int number, const QString& text) {
    panel(number)->setText(text);
}

void StatusBar::setPanelToolTip(int number, const QString& text) {
    panel(number)->setToolTip(text);
}

} // namespace pixtint
