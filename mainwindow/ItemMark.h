#pragma once

#include <QString>

namespace pixtint {

// The mark of a file in the list, shown as its small icon.
enum class ItemMark {
    Convertible,    // a 24-bit picture, not converted yet
    NotConvertible, // not a 24-bit picture, or unreadable
    Converted,      // converted by a batch (or found to need nothing)
    Failed,         // a batch could not convert it
};

// The icon key of a mark, and the mark of an icon key (Failed for a key that is none).
QString iconKey(ItemMark mark);
ItemMark markOfIconKey(const QString& key);

// Whether a batch converts a ticked item with this mark.
bool isConvertibleMark(ItemMark mark);

} // namespace pixtint
