// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewShowability.h"

#include "engine/ByteSource.h"
#include "mainwindow/DisplaySize.h"
#include "decoding/PictureDecoding.h"

namespace pixtint {

std::optional<NumberedMessage> whyPreviewCannotShow(const ByteSource& source) {
    try {
        const PictureSize size = readPictureSize(source);
        if (size.width <= 0) {
            return std::nullopt;
        }
        const std::optional<PreviewFit::Size> shown = displaySize(size);
        if (!shown) {
            return numberedMessage(MessageNumber::Overflow);
        }
        if (PreviewFit::hasZeroSide(*shown)) {
            return numberedMessage(MessageNumber::DivisionByZero);
        }
        checkPictureDecodes(source);
        return std::nullopt;
    } catch (...) {
        return currentErrorMessage();
    }
}

} // namespace pixtint
