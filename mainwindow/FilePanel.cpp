#include "mainwindow/FilePanel.h"

#include "conversion/Convertibility.h"
#include "engine/AppError.h"
#include "engine/Error.h"
#include "mainwindow/ControlPlacement.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"
#include "platform/ImageBox.h"
#include "platform/Label.h"
#include "scan/FolderScan.h"

#include <QIcon>

namespace pixtint {

namespace {

// An entry the 24-bit test cannot read (a sub-folder, a file too short, no permission) is
// simply not convertible.
bool isConvertible(const std::filesystem::path& path) {
    try {
        return isBitmap24Bit(path);
    } catch (const AppError&) {
        return false;
    } catch (const Error&) {
        return false;
    }
}

void addMark(ImageList& marks, ItemMark mark, const char* picture) {
    marks.Add(iconKey(mark), QIcon(QString::fromLatin1(picture)));
}

} // namespace

FilePanel::FilePanel(QWidget* window, Dialogs& dialogs)
    : Frame(window)
    , dialogs_(dialogs) {
    setObjectName(QStringLiteral("Frame1"));
    Move(120, 120, 5295, 3135);
    setCaption(QStringLiteral("ファイル"));
    addMark(marks_, ItemMark::Convertible, ":/icons/bmp.svg");
    addMark(marks_, ItemMark::NotConvertible, ":/icons/nochg.svg");
    addMark(marks_, ItemMark::Converted, ":/icons/ok.svg");
    addMark(marks_, ItemMark::Failed, ":/icons/ng.svg");
    createControls();
    fitCaptions();
    connect(browseButton_, &QPushButton::clicked, this, &FilePanel::chooseFolder);
    connect(refreshButton_, &QPushButton::clicked, this, &FilePanel::refreshRequested);
    connect(fileList_, &ListView::Click, this, &FilePanel::itemClicked);
}

void FilePanel::createControls() {
    folderHeading_ = placeControl<Label>(this, indexedName("Label2", 0), 120, 240, 3135, 255);
    folderHeading_->setCaption(QStringLiteral("■bmpファイルが保存されているフォルダ"));
    folderLabel_ = placeControl<Label>(this, "Label1", 120, 480, 5055, 255);
    folderLabel_->setSingleLineBorder(true);
    browseButton_ = placeControl<CommandButton>(this, "Command2", 4320, 840, 855, 375);
    browseButton_->setCaption(QStringLiteral("参 照"));

    listHeading_ = placeControl<Label>(this, indexedName("Label2", 1), 120, 1080, 3495, 255);
    listHeading_->setCaption(QStringLiteral("■ファイル一覧：    変換可        変換不可"));
    for (int i = 0; i < 2; ++i) {
        legendMarks_[i] = placeControl<ImageBox>(this, indexedName("Image2", i),
                                                 i == 0 ? 2160 : 3360, 1040, 240, 240);
    }
    legendMarks_[0]->setPicture(marks_.icon(iconKey(ItemMark::Convertible)).pixmap(16).toImage());
    legendMarks_[1]->setPicture(
        marks_.icon(iconKey(ItemMark::NotConvertible)).pixmap(16).toImage());

    fileList_ = placeControl<ListView>(this, "ListView1", 120, 1320, 5055, 1215);
    fileList_->setSmallIcons(&marks_);
    refreshButton_ = placeControl<CommandButton>(this, "Command3", 4320, 2640, 855, 375);
    refreshButton_->setCaption(QStringLiteral("更 新"));
    fileCountLabel_ = placeControl<Label>(this, "Label5", 240, 2760, 2295, 255);
}

void FilePanel::fitCaptions() {
    constexpr int LabelMargin = 2;
    folderHeading_->fitFontTo(folderHeading_->Caption(), LabelMargin);
    // The legend icons follow their words, so each word must end before its icon.
    const int roomBeforeFirstIcon = legendMarks_[0]->x() - listHeading_->x() - LabelMargin;
    listHeading_->fitFontTo(QStringLiteral("■ファイル一覧：    変換可"),
                            listHeading_->width() - roomBeforeFirstIcon);
}

void FilePanel::showFolder(const QString& folder) {
    folderLabel_->setCaption(folder);
}

void FilePanel::refreshFileList(const QString& folder) {
    fileList_->Clear();
    for (const auto& name : matchingNames(PathInFolder(folder, "*.bmp").native())) {
        fileList_->Add(name);
    }
    fileList_->Refresh();
    for (int i = 1; i <= fileList_->Count(); ++i) {
        ListItem item = fileList_->Item(i);
        const bool convertible = isConvertible(PathInFolder(folder, item.FileName()));
        item.setChecked(convertible);
        setMark(item, convertible ? ItemMark::Convertible : ItemMark::NotConvertible);
    }
    if (fileList_->Count() > 0) {
        fileList_->Item(1).setSelected(true);
    }
}

void FilePanel::showFileCount() {
    fileCountLabel_->setCaption(QStringLiteral("ファイル総数＝") +
                                QString::number(fileList_->Count()));
}

std::vector<ListItem> FilePanel::chosenItems() const {
    std::vector<ListItem> chosen;
    for (int i = 1; i <= fileList_->Count(); ++i) {
        const ListItem item = fileList_->Item(i);
        if (item.Checked() && isConvertibleMark(markOf(item))) {
            chosen.push_back(item);
        }
    }
    return chosen;
}

ItemMark FilePanel::markOf(const ListItem& item) {
    return markOfIconKey(item.SmallIcon());
}

void FilePanel::setMark(ListItem item, ItemMark mark) {
    item.setSmallIcon(iconKey(mark));
}

void FilePanel::chooseFolder() {
    const std::optional<QString> chosen =
        dialogs_.BrowseForFolder(window(), QStringLiteral("フォルダを選択してください"));
    if (!chosen) {
        return;
    }
    // Kept without a trailing separator: the root becomes the empty text.
    QString folder = *chosen;
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    emit folderChosen(folder);
}

std::vector<QWidget*> FilePanel::tabOrder() const {
    return {browseButton_, fileList_, refreshButton_};
}

void FilePanel::setInputEnabled(bool enabled) {
    browseButton_->setEnabled(enabled);
    refreshButton_->setEnabled(enabled);
    fileList_->setEnabled(enabled);
}

void FilePanel::followWidth(const LayoutRules::Layout& layout) {
    setWidth(layout.frame1Width);
    folderLabel_->setWidth(layout.label1Width);
    browseButton_->setLeft(layout.command2Left);
    fileList_->setWidth(layout.label1Width);
    refreshButton_->setLeft(layout.command2Left);
}

double FilePanel::browseButtonWidth() const {
    return browseButton_->Width();
}

} // namespace pixtint
