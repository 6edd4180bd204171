#pragma once

#include "mainwindow/LayoutRules.h"

#include <QObject>
#include <vector>

class QWidget;

namespace pixtint {

class CheckBox;
class CommandButton;

// The row along the bottom: keeping backups, the guide, converting, and leaving. Its controls
// are the window's own.
class CommandRow : public QObject {
    Q_OBJECT
public:
    explicit CommandRow(QWidget* window);

    void showBackup(int keepBackup);
    void setInputEnabled(bool enabled);
    // Left to right.
    std::vector<QWidget*> tabOrder() const;
    void followEdges(const LayoutRules::Layout& layout);
    // The sizes the window layout works from.
    double exitButtonWidth() const;
    double exitButtonHeight() const;
    double convertButtonWidth() const;
    double readmeButtonWidth() const;

signals:
    void backupToggled(int value);
    void readmeRequested();
    void convertRequested();
    void exitRequested();

private:
    CheckBox* backupBox_ = nullptr;
    CommandButton* readmeButton_ = nullptr;
    CommandButton* convertButton_ = nullptr;
    CommandButton* exitButton_ = nullptr;
};

} // namespace pixtint
