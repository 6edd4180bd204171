#pragma once

#include "platform/Control.h"
#include "platform/ImageList.h"

#include <QListWidget>
#include <optional>
#include <string>

namespace pixtint {

// One item of a ListView: a check box, a small icon named by its key, and a name. The name is
// kept as the raw bytes the file system gave, so a file whose name is not valid text is still
// found again; Text() is its readable form.
class ListItem {
public:
    ListItem(QListWidgetItem* item, const ImageList* icons)
        : item_(item)
        , icons_(icons) {}

    QString Text() const { return item_->text(); }
    std::string FileName() const;

    bool Checked() const { return item_->checkState() == Qt::Checked; }
    void setChecked(bool checked) { item_->setCheckState(checked ? Qt::Checked : Qt::Unchecked); }

    QString SmallIcon() const;
    void setSmallIcon(const QString& key);

    bool Selected() const { return item_->isSelected(); }
    // Makes this the list's one selected and current item, without raising Click.
    void setSelected(bool selected);

    friend bool operator==(const ListItem& a, const ListItem& b) { return a.item_ == b.item_; }

private:
    QListWidgetItem* item_;
    const ImageList* icons_;
};

// The file list: items numbered from 1 in the order they were added. Click is raised when the
// user clicks an item or moves the selection with the keyboard, never when the program selects.
// A name too long for the list is shortened with "…"; its tool tip then shows it whole.
class ListView : public Control<QListWidget> {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent);

    void setSmallIcons(const ImageList* icons) { icons_ = icons; }

    int Count() const { return count(); }
    // Item `index`, counted from 1. Throws AppError 9 outside 1 to Count().
    ListItem Item(int index) const;
    std::optional<ListItem> SelectedItem() const;

    void Clear() { clear(); }
    // Appends an item with this raw file name, unchecked and without an icon.
    void Add(const std::string& name);

    void Refresh() { repaint(); }

signals:
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    bool isShortened(const QModelIndex& index) const;

    const ImageList* icons_ = nullptr;
};

} // namespace pixtint
