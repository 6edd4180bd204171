// SPDX-License-Identifier: MIT
#pragma once

#include "engine/PictureSize.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace pixtint {

// One file as the preview shows it during a batch: both pictures of that one file, read on
// the worker thread, so that showing it costs the window no disk call.
struct BatchFrame {
    std::size_t index = 0;
    std::filesystem::path file;
    PictureSize size;
    std::int64_t fileBytes = 0;
    QImage before;
    QImage after;
};

} // namespace pixtint
