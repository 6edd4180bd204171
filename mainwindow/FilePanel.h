#pragma once

#include "mainwindow/ItemMark.h"
#include "mainwindow/LayoutRules.h"
#include "platform/Frame.h"
#include "platform/ImageList.h"
#include "platform/ListView.h"

#include <array>
#include <optional>
#include <vector>

namespace pixtint {

class CommandButton;
class Dialogs;
class ImageBox;
class Label;

// The file panel: the folder, its list of pictures with their marks and ticks, and the
// buttons that choose the folder and refresh the list.
class FilePanel : public Frame {
    Q_OBJECT
public:
    FilePanel(QWidget* window, Dialogs& dialogs);

    void showFolder(const QString& folder);
    // Lists the folder's *.bmp entries in name order, marks and ticks the 24-bit ones and
    // selects the first. The count is shown apart (showFileCount), once the preview is done.
    void refreshFileList(const QString& folder);
    void showFileCount();

    ListView& fileList() const { return *fileList_; }
    std::optional<ListItem> selectedItem() const { return fileList_->SelectedItem(); }
    int fileCount() const { return fileList_->Count(); }
    // The ticked items a batch converts, in list order.
    std::vector<ListItem> chosenItems() const;
    static ItemMark markOf(const ListItem& item);
    static void setMark(ListItem item, ItemMark mark);

    void setInputEnabled(bool enabled);
    // Top to bottom.
    std::vector<QWidget*> tabOrder() const;
    void followWidth(const LayoutRules::Layout& layout);
    double browseButtonWidth() const;

signals:
    void folderChosen(const QString& folder);
    void refreshRequested();
    void itemClicked();

private:
    void createControls();
    void fitCaptions();
    void chooseFolder();

    Dialogs& dialogs_;
    ImageList marks_;
    Label* folderHeading_ = nullptr;
    Label* folderLabel_ = nullptr;
    CommandButton* browseButton_ = nullptr;
    Label* listHeading_ = nullptr;
    std::array<ImageBox*, 2> legendMarks_{};
    ListView* fileList_ = nullptr;
    CommandButton* refreshButton_ = nullptr;
    Label* fileCountLabel_ = nullptr;
};

} // namespace pixtint
