// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionRequest.h"
#include "engine/PictureSize.h"
#include "mainwindow/ErrorMessages.h"

#include <QImage>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

namespace pixtint {

// What a preview of one file asks for.
struct PreviewJob {
    std::uint64_t generation = 0;
    int row = 0;
    std::filesystem::path source;
    bool convertible = false; // the list's mark
    ConversionRequest request;
    // The most pixels the window can show either way: a larger picture arrives reduced to it.
    QSize largestShown;
};

// Everything the preview shows of one file, read, converted and reduced to what the window can
// show away from the window. The
// steps stop at the first that fails: `failure` then says why (a box titled "BMPエラー"), and
// the fields of the later steps stay empty.
struct PreparedPreview {
    PreviewJob job;
    std::optional<std::int64_t> fileBytes;
    std::optional<NumberedMessage> failure;
    // A file the conversion refuses: why (neither image shows it).
    QString reason;
    // A file the conversion takes: its size, and both pictures.
    std::optional<PictureSize> size;
    QImage before;
    QImage after;
    // Its conversion failed: the box titled "変換エラー", the item then marked as failed.
    std::optional<NumberedMessage> conversionError;
};

// Prepares previews on a thread of its own, one at a time. Only the newest job waits: a job
// asked for while another is prepared replaces any that has not started, so that moving the
// selection quickly through big pictures never queues work. Each preview arrives as
// `prepared` on the window's thread.
class PreviewWorker : public QObject {
    Q_OBJECT
public:
    PreviewWorker();
    // Waits for the preview in hand.
    ~PreviewWorker() override;

    void prepare(PreviewJob job);

signals:
    void prepared(const PreparedPreview& preview);

private:
    void work();

    std::unique_ptr<QThread> thread_;
    std::mutex mutex_; // guards what follows
    std::condition_variable wake_;
    std::optional<PreviewJob> next_;
    bool quitting_ = false;
};

} // namespace pixtint
