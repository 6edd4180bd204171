#include "platform/StatusBar.h"

#include "engine/AppError.h"

#include <QHBoxLayout>

namespace pixtint {

StatusBar::StatusBar(QWidget* parent)
    : Control<QWidget>(parent) {
    auto* row = new QHBoxLayout(this); // owned by the bar
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);
    const std::array<int, PanelCount> stretch{2, 2, 5};
    for (int i = 0; i < PanelCount; ++i) {
        panels_[i] = new StatusPanel(this);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        row->addWidget(panels_[i], stretch[i]);
    }
}

StatusPanel* StatusBar::panel(int number) const {
    if (number < 1 || number > PanelCount) {
        throw AppError(ErrorNumber::SubscriptOutOfRange);
    }
    return panels_[number - 1];
}

QString StatusBar::PanelText(int number) const {
    return panel(number)->fullText();
}

void StatusBar::setPanelText(int number, const QString& text) {
    panel(number)->setFullText(text);
}

void StatusBar::setPanelToolTip(int number, const QString& text) {
    panel(number)->setOwnToolTip(text);
}

} // namespace pixtint
