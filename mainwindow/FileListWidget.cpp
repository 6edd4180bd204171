// SPDX-License-Identifier: MIT
#include "mainwindow/FileListWidget.h"

#include <QHelpEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolTip>
#include <algorithm>

namespace pixtint {

namespace {

constexpr int FileNameRole = Qt::UserRole;
constexpr int MarkRole = Qt::UserRole + 1;

} // namespace

QIcon FileListWidget::markIcon(ItemMark mark) {
    switch (mark) {
    case ItemMark::Convertible:
        return QIcon(QStringLiteral(":/icons/bmp.svg"));
    case ItemMark::NotConvertible:
        return QIcon(QStringLiteral(":/icons/nochg.svg"));
    case ItemMark::Converted:
        return QIcon(QStringLiteral(":/icons/ok.svg"));
    case ItemMark::Failed:
        break;
    }
    return QIcon(QStringLiteral(":/icons/ng.svg"));
}

FileListWidget::FileListWidget(QWidget* parent)
    : QListWidget(parent) {
    for (const ItemMark mark :
         {ItemMark::Convertible, ItemMark::NotConvertible, ItemMark::Converted, ItemMark::Failed}) {
        icons_[static_cast<int>(mark)] = markIcon(mark);
    }
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // Laid out a slice at a time, so that a list of many thousands never holds the window.
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
    connect(this, &QListWidget::itemClicked, this, &FileListWidget::userSelected);
    connect(this, &QListWidget::itemSelectionChanged, this, &FileListWidget::keepOneSelected);
}

void FileListWidget::addFiles(std::span<const std::string> rawNames) {
    if (rawNames.empty()) {
        return;
    }
    const int first = count();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(rawNames.size()));
    for (const std::string& rawName : rawNames) {
        texts.append(QString::fromUtf8(rawName.data(), static_cast<qsizetype>(rawName.size())));
    }
    addItems(texts);
    {
        const QSignalBlocker quiet(model());
        for (std::size_t i = 0; i < rawNames.size(); ++i) {
            QListWidgetItem* entry = item(first + static_cast<int>(i));
            entry->setData(FileNameRole, QByteArray::fromStdString(rawNames[i]));
            entry->setData(MarkRole, static_cast<int>(ItemMark::NotConvertible));
            entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
            entry->setCheckState(Qt::Unchecked);
        }
    }
    emit model()->dataChanged(model()->index(first, 0), model()->index(count() - 1, 0));
}

std::string FileListWidget::fileName(int row) const {
    return item(row)->data(FileNameRole).toByteArray().toStdString();
}

ItemMark FileListWidget::mark(int row) const {
    return static_cast<ItemMark>(item(row)->data(MarkRole).toInt());
}

void FileListWidget::setMark(int row, ItemMark mark) {
    QListWidgetItem* entry = item(row);
    entry->setData(MarkRole, static_cast<int>(mark));
    entry->setIcon(icons_[static_cast<int>(mark)]);
}

void FileListWidget::setMarks(std::span<const int> rows, ItemMark mark) {
    if (rows.empty()) {
        return;
    }
    {
        const QSignalBlocker quiet(model());
        for (const int row : rows) {
            setMark(row, mark);
        }
    }
    const auto [top, bottom] = std::minmax_element(rows.begin(), rows.end());
    emit model()->dataChanged(model()->index(*top, 0), model()->index(*bottom, 0));
}

void FileListWidget::setTicked(int row, bool ticked) {
    item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void FileListWidget::markListed(int first, const std::vector<std::uint8_t>& convertible) {
    if (convertible.empty()) {
        return;
    }
    {
        const QSignalBlocker quiet(model());
        for (std::size_t i = 0; i < convertible.size(); ++i) {
            const ItemMark mark =
                convertible[i] != 0 ? ItemMark::Convertible : ItemMark::NotConvertible;
            QListWidgetItem* entry = item(first + static_cast<int>(i));
            entry->setCheckState(convertible[i] != 0 ? Qt::Checked : Qt::Unchecked);
            entry->setData(MarkRole, static_cast<int>(mark));
            entry->setIcon(icons_[static_cast<int>(mark)]);
        }
    }
    const int last = first + static_cast<int>(convertible.size()) - 1;
    emit model()->dataChanged(model()->index(first, 0), model()->index(last, 0));
}

void FileListWidget::setAllTicked(bool ticked) {
    for (int row = 0; row < count(); ++row) {
        setTicked(row, ticked);
    }
}

std::optional<int> FileListWidget::selectedRow() const {
    const QListWidgetItem* current = currentItem();
    if (current == nullptr || !current->isSelected()) {
        return std::nullopt;
    }
    return row(current);
}

void FileListWidget::selectRow(int row) {
    QListWidgetItem* entry = item(row);
    setCurrentItem(entry, QItemSelectionModel::ClearAndSelect);
    scrollToItem(entry);
}

void FileListWidget::keyPressEvent(QKeyEvent* event) {
    const QListWidgetItem* before = currentItem();
    QListWidget::keyPressEvent(event);
    if (currentItem() != before && currentItem() != nullptr) {
        emit userSelected();
    }
}

// A left click is told when it ends (itemClicked); a click of another button selects the item
// when it is pressed, and is told then.
void FileListWidget::mousePressEvent(QMouseEvent* event) {
    const QListWidgetItem* before = currentItem();
    QListWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton && currentItem() != before && currentItem() != nullptr) {
        emit userSelected();
    }
}

void FileListWidget::keepOneSelected() {
    if (selectedItems().isEmpty() && currentItem() != nullptr) {
        const QSignalBlocker quiet(this);
        currentItem()->setSelected(true);
    }
}

bool FileListWidget::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid() && isShortened(index)) {
            QToolTip::showText(help->globalPos(), index.data().toString(), viewport(),
                               visualRect(index));
            return true;
        }
    }
    return QListWidget::viewportEvent(event);
}

bool FileListWidget::isShortened(const QModelIndex& index) const {
    // The delegate's size hint is the room the item asks for with its whole name, beside its
    // check box and icon. The view shortens an item to the viewport's width, or the viewport
    // cuts it off: either way the part in view is all the user can read.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int inView = visualRect(index).intersected(viewport()->rect()).width();
    return itemDelegateForIndex(index)->sizeHint(option, index).width() > inView;
}

} // namespace pixtint
