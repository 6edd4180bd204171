#include "platform/ListView.h"

#include "engine/AppError.h"

#include <QAbstractItemDelegate>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace pixtint {

namespace {
constexpr int FileNameRole = Qt::UserRole;
constexpr int IconKeyRole = Qt::UserRole + 1;
} // namespace

std::string ListItem::FileName() const {
    return item_->data(FileNameRole).toByteArray().toStdString();
}

QString ListItem::SmallIcon() const {
    return item_->data(IconKeyRole).toString();
}

void ListItem::setSmallIcon(const QString& key) {
    item_->setData(IconKeyRole, key);
    item_->setIcon(icons_ ? icons_->icon(key) : QIcon());
}

void ListItem::setSelected(bool selected) {
    QListWidget* list = item_->listWidget();
    if (selected) {
        list->setCurrentItem(item_, QItemSelectionModel::ClearAndSelect);
        list->scrollToItem(item_);
    } else {
        item_->setSelected(false);
    }
}

ListView::ListView(QWidget* parent)
    : Control<QListWidget>(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemClicked, this, &ListView::Click);
}

ListItem ListView::Item(int index) const {
    if (index < 1 || index > count()) {
        throw AppError(ErrorNumber::SubscriptOutOfRange);
    }
    return ListItem(item(index - 1), icons_);
}

std::optional<ListItem> ListView::SelectedItem() const {
    QListWidgetItem* current = currentItem();
    if (current == nullptr || !current->isSelected()) {
        return std::nullopt;
    }
    return ListItem(current, icons_);
}

void ListView::Add(const std::string& name) {
    const QByteArray raw = QByteArray::fromStdString(name);
    auto* entry = new QListWidgetItem(QString::fromUtf8(raw), this); // owned by the list
    entry->setData(FileNameRole, raw);
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
}

void ListView::keyPressEvent(QKeyEvent* event) {
    const QListWidgetItem* before = currentItem();
    QListWidget::keyPressEvent(event);
    if (currentItem() != before && currentItem() != nullptr) {
        emit Click();
    }
}

bool ListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid() && isShortened(index)) {
            QToolTip::showText(help->globalPos(), index.data().toString(), viewport(),
                               visualRect(index));
            return true;
        }
    }
    return Control<QListWidget>::viewportEvent(event);
}

bool ListView::isShortened(const QModelIndex& index) const {
    // The delegate's size hint is the room the item asks for with its whole name, beside its
    // check box and icon. The view shortens an item to the viewport's width, or the viewport
    // cuts it off: either way the part in view is all the user can read.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int inView = visualRect(index).intersected(viewport()->rect()).width();
    return itemDelegateForIndex(index)->sizeHint(option, index).width() > inView;
}

} // namespace pixtint
