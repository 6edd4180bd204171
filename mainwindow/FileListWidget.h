// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/ItemMark.h"

#include <QIcon>
#include <QListWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pixtint {

// The file list: per item a check box, the icon of its mark and the file's name. The name is
// kept as the raw bytes the file system gave, so a file whose name is not valid text is still
// found again; the item's text is its readable form. `userSelected` is emitted when the user
// clicks an item (with any button: a right click selects it for the menu) or moves the
// selection with the keyboard, never when the program selects. A list with items always keeps
// one selected: a click beside them or a Ctrl+click on the selected one leaves it so. A name
// too long for the list is shortened with "…"; its tool tip then shows it whole.
class FileListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit FileListWidget(QWidget* parent);

    // The picture a mark is shown with.
    static QIcon markIcon(ItemMark mark);

    // Appends an unticked item for each of these raw file names, marked NotConvertible. The
    // view hears of them as one insertion: told row by row, it would lay the list out again
    // for each, and a folder of many thousands would take seconds.
    void addFiles(std::span<const std::string> rawNames);

    std::string fileName(int row) const;
    ItemMark mark(int row) const;
    void setMark(int row, ItemMark mark);
    // Gives each of `rows` the same mark; the view hears of them together.
    void setMarks(std::span<const int> rows, ItemMark mark);
    bool isTicked(int row) const { return item(row)->checkState() == Qt::Checked; }
    void setTicked(int row, bool ticked);
    void setAllTicked(bool ticked);
    // Marks and ticks the rows from `first` on as the conversion takes them or not. The view
    // hears of them together: told item by item, a listing of many thousands would cost the
    // window far more than finding the marks does.
    void markListed(int first, const std::vector<std::uint8_t>& convertible);

    std::optional<int> selectedRow() const;
    // Makes `row` the one selected and current item and scrolls it into view, without emitting
    // userSelected.
    void selectRow(int row);

signals:
    void userSelected();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void keepOneSelected();
    bool isShortened(const QModelIndex& index) const;

    std::array<QIcon, 4> icons_; // by mark, made once: a list may hold thousands of items
};

} // namespace pixtint
