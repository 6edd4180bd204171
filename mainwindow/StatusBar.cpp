// SPDX-License-Identifier: MIT
#include "mainwindow/StatusBar.h"

#include "widgets/StatusPanel.h"

#include <QHBoxLayout>
#include <algorithm>

namespace pixtint {

StatusBar::StatusBar(QWidget* window)
    : QWidget(window) {
    setObjectName(QStringLiteral("StatusBar1"));
    auto* row = new QHBoxLayout(this); // owned by the bar
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);
    const std::array<QString, 3> tips{tr("大きさ（幅×高さ）"), tr("ファイルサイズ"),
                                      tr("ファイル名")};
    const std::array<int, 3> stretch{2, 2, 5};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new StatusPanel(this);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setOwnToolTip(tips[i]);
        row->addWidget(panels_[i], stretch[i]);
    }
}

QString StatusBar::text(Field field) const {
    return panel(field).fullText();
}

void StatusBar::setText(Field field, const QString& text) {
    panel(field).setFullText(text);
    if (field != Field::Path) {
        fitPanels();
    }
}

void StatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitPanels();
}

// The first two panels are at least as wide as their texts, within what leaves the path a
// panel of its own; the layout's stretch shares out the rest.
void StatusBar::fitPanels() {
    const int room = contentsRect().width();
    StatusPanel& size = panel(Field::FileSize);
    size.setMinimumWidth(std::min(size.wholeTextWidth(), room / 5));
    StatusPanel& dimensions = panel(Field::Dimensions);
    dimensions.setMinimumWidth(
        std::min(dimensions.wholeTextWidth(), room - size.minimumWidth() - room / 10));
}

} // namespace pixtint
