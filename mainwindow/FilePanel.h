// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/FileListWidget.h"
#include "mainwindow/LayoutRules.h"

#include <QGroupBox>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QTimer;
class QPushButton;

namespace pixtint {

class Dialogs;
class FolderListing;
class PictureView;

// The file panel: the folder, its list of pictures with their marks and ticks, and the
// buttons that choose the folder and refresh the list.
class FilePanel : public QGroupBox {
    Q_OBJECT
public:
    FilePanel(QWidget* window, Dialogs& dialogs);
    // A listing still running is cancelled and waited for.
    ~FilePanel() override;

    void showFolder(const std::filesystem::path& folder);
    // Lists the folder's *.bmp entries in name order and selects the first; a worker then finds
    // the ones the conversion takes, which are marked and ticked as their marks come
    // (marksArrived), until listingEnded. A listing still running is cancelled. The count
    // follows the names.
    void refreshFileList(const std::filesystem::path& folder);
    // The listing in progress selects this file once it holds every name, instead of the
    // first; a name it does not hold leaves the first selected.
    void selectWhenListed(std::string name) { wantedFile_ = std::move(name); }
    // The marks of the listing are not all known yet.
    bool listing() const { return listing_ != nullptr; }
    // Whether the list's `row` has its mark.
    bool markKnown(int row) const { return row < markedRows_; }
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
    // Rows below `end` now have their marks.
    void marksArrived(int end);
    void listingEnded();

private:
    void createControls();
    void fitCaptions();
    void placeLegend();
    void addListMenu();
    void showFileCount();
    void takeListing();
    bool addNames(const FolderListing& listing, qint64 until);
    void applyMarks(const FolderListing& listing, qint64 until);
    void forgetRetiredListings();

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

    // The listing whose names and marks the list takes now and then, a slice at a time so that
    // the window keeps painting; and the cancelled ones, until their file in hand is done.
    std::unique_ptr<FolderListing> listing_;
    std::vector<std::unique_ptr<FolderListing>> retired_;
    QTimer* listingPump_ = nullptr; // owned by the panel
    int markedRows_ = 0;
    std::optional<std::string> wantedFile_;
};

} // namespace pixtint
