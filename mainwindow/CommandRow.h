// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/LayoutRules.h"

#include <QObject>
#include <vector>

class QCheckBox;
class QPushButton;
class QWidget;

namespace pixtint {

// The row along the bottom: keeping backups, the guide, converting, and leaving. Its controls
// are the window's own.
class CommandRow : public QObject {
    Q_OBJECT
public:
    explicit CommandRow(QWidget* window);

    void showBackup(Qt::CheckState keepBackup);
    void setInputEnabled(bool enabled);
    // 変換実行 alone: it waits until the list's marks are known.
    void setConvertReady(bool ready);
    // Left to right.
    std::vector<QWidget*> tabOrder() const;
    void followLayout(const LayoutRules::Layout& layout);

signals:
    void backupToggled(Qt::CheckState state);
    void readmeRequested();
    void convertRequested();
    void exitRequested();

private:
    QCheckBox* backupBox_ = nullptr;
    QPushButton* readmeButton_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

} // namespace pixtint
