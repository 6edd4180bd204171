// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/FileListWidget.h"
#include "mainwindow/LayoutRules.h"

#include <QGroupBox>
#include <array>
#include <filesystem>
#include <vector>

class QLabel;
class QPushButton;

namespace pixtint {

class Dialogs;
class PictureView;

// The file panel: the folder, its list of pictures with their marks and ticks, and the
// buttons that choose the folder and refresh the list.
class FilePanel : public QGroupBox {
    Q_OBJECT
public:
    FilePanel(QWidget* window, Dialogs& dialogs);

    void showFolder(const std::filesystem::path& folder);
    // Lists the folder's *.bmp entries in name order, marks and ticks the ones the conversion
    // takes and selects the first. The count is shown apart (showFileCount), once the preview is
    // done.
    void refreshFileList(const std::filesystem::path& folder);
    void showFileCount();
    // The folder chooser; a confirmed choice is told through folderChosen.
    void chooseFolder();

    FileListWidget& fileList() const { return *fileList_; }
    // The ticked rows a batch converts, in list order.
    std::vector<int> chosenRows() const;
    // Every ticked row, whatever its mark, in list order: the pictures a restore puts back.
    std::vector<int> tickedRows() const;
    // The file of a list row, in the folder listed; and of each of `rows`.
    std::filesystem::path pathOf(int row) const;
    std::vector<std::filesystem::path> pathsOf(const std::vector<int>& rows) const;

    void setInputEnabled(bool enabled);
    // Top to bottom.
    std::vector<QWidget*> tabOrder() const;
    void followLayout(const LayoutRules::Layout& layout);

signals:
    void folderChosen(const QString& folder);
    void refreshRequested();
    void restoreRequested();
    void userSelected();

private:
    void createControls();
    void fitCaptions();
    void placeLegend();
    void addListMenu();

    Dialogs& dialogs_;
    std::filesystem::path folder_; // the folder listed
    QLabel* folderHeading_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QLabel* listHeading_ = nullptr;
    std::array<PictureView*, 2> legendMarks_{};
    FileListWidget* fileList_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
    QLabel* fileCountLabel_ = nullptr;
};

} // namespace pixtint
