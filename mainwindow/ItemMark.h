// SPDX-License-Identifier: MIT
#pragma once

namespace pixtint {

// The mark of a file in the list, shown as its small icon.
enum class ItemMark {
    Convertible,    // a picture the conversion takes, not converted yet ("BMP")
    NotConvertible, // a kind the conversion refuses, or unreadable ("NoChg")
    Converted,      // converted by a batch, or found to need nothing ("OK")
    Failed,         // a batch could not convert it ("NG")
};

// Whether a batch converts a ticked item with this mark.
bool isConvertibleMark(ItemMark mark);

} // namespace pixtint
