#include "mainwindow/FilePanel.h"

#include "conversion/Convertibility.h"
#include "platform/ControlPlacement.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "platform/FontFit.h"
#include "platform/PictureView.h"
#include "platform/PushButton.h"
#include "scan/FolderScan.h"

#include <QLabel>

namespace pixtint {

namespace {

// An entry the 24-bit test cannot read (a sub-folder, a file too short, no permission) is
// simply not convertible.
bool isConvertible(const std::filesystem::path& path) {
    try {
        return isBitmap24Bit(path);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

FilePanel::FilePanel(QWidget* window, Dialogs& dialogs)
    : QGroupBox(window)
    , dialogs_(dialogs) {
    setObjectName(QStringLiteral("Frame1"));
    placeInTwips(*this, LayoutRules::Design::fileFrame);
    setTitle(tr("ファイル"));
    createControls();
    fitCaptions();
    connect(browseButton_, &QPushButton::clicked, this, &FilePanel::chooseFolder);
    connect(refreshButton_, &QPushButton::clicked, this, &FilePanel::refreshRequested);
    connect(fileList_, &FileListWidget::userSelected, this, &FilePanel::userSelected);
}

void FilePanel::createControls() {
    using namespace LayoutRules;
    folderHeading_ = placeControl<QLabel>(this, indexedName("Label2", 0), {120, 240, 3135, 255});
    folderHeading_->setText(tr("■bmpファイルが保存されているフォルダ"));
    folderLabel_ = placeControl<QLabel>(this, QStringLiteral("Label1"), Design::folderLabel);
    folderLabel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    browseButton_ =
        placeControl<PushButton>(this, QStringLiteral("Command2"), Design::browseButton);
    browseButton_->setText(tr("参 照"));

    listHeading_ = placeControl<QLabel>(this, indexedName("Label2", 1), {120, 1080, 3495, 255});
    listHeading_->setText(tr("■ファイル一覧：    変換可        変換不可"));
    const std::pair<ItemMark, double> legend[] = {{ItemMark::Convertible, 2160},
                                                  {ItemMark::NotConvertible, 3360}};
    for (int i = 0; i < 2; ++i) {
        auto* mark = placeControl<PictureView>(this, indexedName("Image2", i),
                                               {legend[i].second, 1040, 240, 240});
        mark->setPicture(FileListWidget::markIcon(legend[i].first).pixmap(16).toImage());
        if (i == 0) {
            firstLegendMark_ = mark;
        }
    }

    fileList_ = placeControl<FileListWidget>(this, QStringLiteral("ListView1"), Design::fileList);
    refreshButton_ =
        placeControl<PushButton>(this, QStringLiteral("Command3"), Design::refreshButton);
    refreshButton_->setText(tr("更 新"));
    fileCountLabel_ = placeControl<QLabel>(this, QStringLiteral("Label5"), {240, 2760, 2295, 255});
}

void FilePanel::fitCaptions() {
    constexpr int LabelMargin = 2;
    shrinkFontToFit(*folderHeading_, folderHeading_->text(), LabelMargin);
    // The legend icons follow their words, so each word must end before its icon.
    const int roomBeforeFirstIcon = firstLegendMark_->x() - listHeading_->x() - LabelMargin;
    shrinkFontToFit(*listHeading_, tr("■ファイル一覧：    変換可"),
                    listHeading_->width() - roomBeforeFirstIcon);
}

void FilePanel::showFolder(const QString& folder) {
    folderLabel_->setText(folder);
}

void FilePanel::refreshFileList(const QString& folder) {
    fileList_->clear();
    for (const std::string& name : matchingNames(pathInFolder(folder, "*.bmp").native())) {
        fileList_->addFile(name);
    }
    fileList_->repaint();
    for (int row = 0; row < fileList_->count(); ++row) {
        const bool convertible = isConvertible(pathInFolder(folder, fileList_->fileName(row)));
        fileList_->setTicked(row, convertible);
        fileList_->setMark(row, convertible ? ItemMark::Convertible : ItemMark::NotConvertible);
    }
    if (fileList_->count() > 0) {
        fileList_->selectRow(0);
    }
}

void FilePanel::showFileCount() {
    fileCountLabel_->setText(tr("ファイル総数＝") + QString::number(fileList_->count()));
}

std::vector<int> FilePanel::chosenRows() const {
    std::vector<int> chosen;
    for (int row = 0; row < fileList_->count(); ++row) {
        if (fileList_->isTicked(row) && isConvertibleMark(fileList_->mark(row))) {
            chosen.push_back(row);
        }
    }
    return chosen;
}

void FilePanel::chooseFolder() {
    const std::optional<QString> chosen =
        dialogs_.chooseFolder(window(), tr("フォルダを選択してください"));
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

void FilePanel::followLayout(const LayoutRules::Layout& layout) {
    placeInTwips(*this, layout.fileFrame);
    placeInTwips(*folderLabel_, layout.folderLabel);
    placeInTwips(*browseButton_, layout.browseButton);
    placeInTwips(*fileList_, layout.fileList);
    placeInTwips(*refreshButton_, layout.refreshButton);
}

} // namespace pixtint
