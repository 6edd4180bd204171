// SPDX-License-Identifier: MIT
#include "mainwindow/FilePanel.h"

#include "desktop/FilePaths.h"
#include "dialogs/Dialogs.h"
#include "mainwindow/FolderListing.h"
#include "widgets/ControlPlacement.h"
#include "widgets/FontFit.h"
#include "widgets/FrameTitle.h"
#include "widgets/PictureView.h"
#include "widgets/PushButton.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <array>
#include <span>

namespace pixtint {

namespace {

// How long one slice of the listing may hold the window's thread, and how often the panel
// looks for more while the worker has nothing new.
constexpr qint64 SliceMilliseconds = 8;
constexpr int WaitMilliseconds = 10;
// How many names the list takes between two looks at the clock.
constexpr std::size_t NamesAtOnce = 2048;

struct LegendLayout {
    QString text;
    std::array<int, 2> markX{}; // from the start of the text
    int width = 0;
};

LegendLayout layOutLegend(const QFont& font, const QString& title,
                          const std::array<QString, 2>& words, int markWidth) {
    constexpr int Gap = 3; // between an icon and its word, and before the first icon
    const QFontMetrics metrics(font);
    const int blank = std::max(1, metrics.horizontalAdvance(QLatin1Char(' ')));
    const std::array<int, 2> before{Gap, 4 * Gap}; // the second pair keeps clear of the first
    LegendLayout legend{title};
    for (std::size_t i = 0; i < words.size(); ++i) {
        const int room = before[i] + markWidth + Gap;
        legend.text += QString((room + blank - 1) / blank, QLatin1Char(' '));
        legend.markX[i] = metrics.horizontalAdvance(legend.text) - Gap - markWidth;
        legend.text += words[i];
    }
    legend.width = metrics.horizontalAdvance(legend.text);
    return legend;
}

} // namespace

FilePanel::FilePanel(QWidget* window, Dialogs& dialogs)
    : QGroupBox(window)
    , dialogs_(dialogs) {
    setObjectName(QStringLiteral("Frame1"));
    placeInTwips(*this, LayoutRules::Design::fileFrame);
    setTitle(tr("ファイル"));
    putTitleInBorder(*this);
    createControls();
    fitCaptions();
    addListMenu();
    connect(browseButton_, &QPushButton::clicked, this, &FilePanel::chooseFolder);
    connect(refreshButton_, &QPushButton::clicked, this, &FilePanel::refreshRequested);
    connect(fileList_, &FileListWidget::userSelected, this, &FilePanel::userSelected);
    listingPump_ = new QTimer(this);
    connect(listingPump_, &QTimer::timeout, this, &FilePanel::takeListing);
}

FilePanel::~FilePanel() = default;

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
    // Their places along the heading follow its words (placeLegend).
    const std::pair<ItemMark, double> legend[] = {{ItemMark::Convertible, 2160},
                                                  {ItemMark::NotConvertible, 3360}};
    for (int i = 0; i < 2; ++i) {
        legendMarks_[i] = placeControl<PictureView>(this, indexedName("Image2", i),
                                                    {legend[i].second, 1040, 240, 240});
        legendMarks_[i]->setPicture(FileListWidget::markIcon(legend[i].first).pixmap(16).toImage());
    }

    fileList_ = placeControl<FileListWidget>(this, QStringLiteral("ListView1"), Design::fileList);
    refreshButton_ =
        placeControl<PushButton>(this, QStringLiteral("Command3"), Design::refreshButton);
    refreshButton_->setText(tr("更 新"));
    fileCountLabel_ = placeControl<QLabel>(this, QStringLiteral("Label5"), {240, 2760, 2295, 255});
    // A narrow window brings 参照 over the end of the list's heading: the button stays usable.
    browseButton_->raise();
}

void FilePanel::fitCaptions() {
    constexpr int LabelMargin = 2;
    shrinkFontToFit(*folderHeading_, folderHeading_->text(), LabelMargin);
    placeLegend();
}

// The list heading is its title, then each mark's icon before the word that explains it:
// "■ファイル一覧：    変換可        変換不可". The runs of blanks hold the icons; they are made
// as wide as an icon needs in the heading's font, whatever the language's words, and the font
// shrinks until the whole heading fits.
void FilePanel::placeLegend() {
    const std::array<QString, 2> words{tr("変換可"), tr("変換不可")};
    const int markWidth = legendMarks_[0]->width();
    const QString title = tr("■ファイル一覧：");
    const int room = listHeading_->contentsRect().width();
    shrinkFontUntil(*listHeading_, [&](const QFont& font) {
        return layOutLegend(font, title, words, markWidth).width <= room;
    });
    const LegendLayout legend = layOutLegend(listHeading_->font(), title, words, markWidth);
    listHeading_->setText(legend.text);
    const int textLeft = listHeading_->x() + listHeading_->contentsRect().left();
    for (std::size_t i = 0; i < legendMarks_.size(); ++i) {
        legendMarks_[i]->move(textLeft + legend.markX[i], legendMarks_[i]->y());
    }
}

void FilePanel::showFolder(const std::filesystem::path& folder) {
    folderLabel_->setText(folderText(folder));
}

void FilePanel::refreshFileList(const std::filesystem::path& folder) {
    if (listing_) {
        listing_->cancel();
        retired_.push_back(std::move(listing_));
    }
    folder_ = folder;
    wantedFile_.reset();
    fileList_->clear();
    markedRows_ = 0;
    showFileCount();
    listing_ = std::make_unique<FolderListing>(folder);
    listingPump_->start(0);
}

// One slice: the names the list does not hold yet, then the marks found for them.
void FilePanel::takeListing() {
    forgetRetiredListings();
    if (!listing_) {
        listingPump_->setInterval(WaitMilliseconds);
        if (retired_.empty()) {
            listingPump_->stop();
        }
        return;
    }
    if (!listing_->namesKnown()) {
        listingPump_->setInterval(WaitMilliseconds);
        return;
    }
    QElapsedTimer slice;
    slice.start();
    const bool allNames = addNames(*listing_, SliceMilliseconds);
    applyMarks(*listing_, SliceMilliseconds * 2 - slice.elapsed());
    const bool ended = listing_->ended();
    const bool allMarks = markedRows_ == static_cast<int>(listing_->marksKnown());
    if (allNames && ended && allMarks) {
        retired_.push_back(std::move(listing_)); // its thread is ending
        emit listingEnded();
        return;
    }
    // More to take at once, or wait for the worker.
    listingPump_->setInterval(allNames && allMarks ? WaitMilliseconds : 0);
}

// Answers whether the list holds every name.
bool FilePanel::addNames(const FolderListing& listing, qint64 until) {
    const std::vector<std::string>& names = listing.names();
    if (fileList_->count() == static_cast<int>(names.size())) {
        return true;
    }
    QElapsedTimer took;
    took.start();
    const bool empty = fileList_->count() == 0;
    do {
        const std::size_t first = fileList_->count();
        const std::size_t end = std::min(names.size(), first + NamesAtOnce);
        fileList_->addFiles(std::span(names).subspan(first, end - first));
    } while (fileList_->count() < static_cast<int>(names.size()) && took.elapsed() < until);
    const bool all = fileList_->count() == static_cast<int>(names.size());
    if (wantedFile_ && all) {
        const auto found = std::find(names.begin(), names.end(), *wantedFile_);
        fileList_->selectRow(found == names.end() ? 0 : static_cast<int>(found - names.begin()));
        wantedFile_.reset();
    } else if (!wantedFile_ && empty && fileList_->count() > 0) {
        fileList_->selectRow(0);
    }
    showFileCount();
    return all;
}

void FilePanel::applyMarks(const FolderListing& listing, qint64 until) {
    const int known = std::min(static_cast<int>(listing.marksKnown()), fileList_->count());
    if (markedRows_ >= known) {
        return;
    }
    QElapsedTimer took;
    took.start();
    do {
        const int end = std::min(known, markedRows_ + 4096);
        std::vector<std::uint8_t> convertible;
        convertible.reserve(end - markedRows_);
        for (int row = markedRows_; row < end; ++row) {
            convertible.push_back(listing.convertible(row) ? 1 : 0);
        }
        fileList_->markListed(markedRows_, convertible);
        markedRows_ = end;
    } while (markedRows_ < known && took.elapsed() < until);
    emit marksArrived(markedRows_);
}

// A cancelled listing is let go once its file in hand is done, so the window never waits for it.
void FilePanel::forgetRetiredListings() {
    std::erase_if(retired_, [](const auto& listing) { return listing->ended(); });
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

std::filesystem::path FilePanel::pathOf(int row) const {
    return folder_ / fileList_->fileName(row);
}

std::vector<std::filesystem::path> FilePanel::pathsOf(const std::vector<int>& rows) const {
    std::vector<std::filesystem::path> paths;
    paths.reserve(rows.size());
    for (const int row : rows) {
        paths.push_back(pathOf(row));
    }
    return paths;
}

std::vector<int> FilePanel::tickedRows() const {
    std::vector<int> ticked;
    for (int row = 0; row < fileList_->count(); ++row) {
        if (fileList_->isTicked(row)) {
            ticked.push_back(row);
        }
    }
    return ticked;
}

// The list's context menu: undo for the ticked files, and the ticks of every file at once.
void FilePanel::addListMenu() {
    const auto addAction = [this](const QString& name, const QString& text) {
        auto* action = new QAction(text, fileList_); // owned by the list
        action->setObjectName(name);
        fileList_->addAction(action);
        return action;
    };
    QAction* restore =
        addAction(QStringLiteral("restoreFromBackup"), tr("バックアップから元に戻す"));
    auto* separator = new QAction(fileList_);
    separator->setSeparator(true);
    fileList_->addAction(separator);
    QAction* tickAll = addAction(QStringLiteral("tickAll"), tr("すべて選択"));
    QAction* tickNone = addAction(QStringLiteral("tickNone"), tr("すべて解除"));
    fileList_->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(restore, &QAction::triggered, this, &FilePanel::restoreRequested);
    connect(tickAll, &QAction::triggered, this, [this] { fileList_->setAllTicked(true); });
    connect(tickNone, &QAction::triggered, this, [this] { fileList_->setAllTicked(false); });
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
