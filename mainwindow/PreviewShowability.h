// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/ErrorMessages.h"

#include <optional>

namespace pixtint {

class ByteSource;

// Why the preview cannot show the picture `source` holds, as its message box says it; nothing
// when it can. The preview asks this of the selected file, and the batch of each file before
// converting it, so that the batch converts exactly the pictures the preview can show. A picture
// without a width is the conversion's to report, and passes here.
std::optional<NumberedMessage> whyPreviewCannotShow(const ByteSource& source);

} // namespace pixtint
