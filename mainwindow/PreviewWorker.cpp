// SPDX-License-Identifier: MIT
#include "mainwindow/PreviewWorker.h"

#include "conversion/ConvertedPicture.h"
#include "conversion/Convertibility.h"
#include "decoding/PictureDecoding.h"
#include "desktop/FilePaths.h"
#include "filesafety/FileByteSource.h"
#include "mainwindow/PreviewShowability.h"
#include "mainwindow/RefusalReasons.h"

namespace pixtint {

namespace {

// Why the item is not converted: the kind the conversion refuses, or, for a kind it takes,
// that its conversion failed.
QString notConvertibleReason(const std::filesystem::path& source) {
    try {
        const std::optional<Error> refusal = refusalOf(source);
        return refusal ? refusalReason(*refusal) : conversionFailedReason();
    } catch (const Error& error) {
        return refusalReason(error);
    } catch (...) {
        return refusalReason(Error(ErrorKind::System));
    }
}

// The converted picture is made in memory and written nowhere, so looking works in a folder
// that cannot be written. A conversion that cannot even start is reported as such.
std::optional<ConvertedPicture> convertForPreview(PreparedPreview& preview) {
    try {
        return std::optional<ConvertedPicture>(std::in_place, preview.job.source,
                                               preview.job.request);
    } catch (const Error& error) {
        NumberedMessage message = numberedMessage(error);
        if (error.kind() == ErrorKind::NoPaletteRoom) { // its number alone says little
            message.description += QStringLiteral("\r\n") + refusalReason(error);
        }
        preview.conversionError = message;
    } catch (...) {
        preview.conversionError = currentErrorMessage();
    }
    return std::nullopt;
}

// A picture larger than the window can show is never drawn whole: the window gets it reduced,
// so that its own thread neither scales nor frees hundreds of megabytes. Nearest-neighbour, as
// the view draws, so every pixel shown is one of the picture's own and a pick reads one.
QImage reducedTo(QImage picture, QSize largest) {
    if (largest.isEmpty() ||
        (picture.width() <= largest.width() && picture.height() <= largest.height())) {
        return picture;
    }
    // A picture far wider than high keeps a row, and one far higher than wide a column.
    const QSize reduced =
        picture.size().scaled(largest, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return picture.scaled(reduced, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// A picture without a width has nothing to convert: its conversion says so, as a batch's
// would.
void prepareConvertible(PreparedPreview& preview) {
    const FileByteSource file(preview.job.source);
    preview.size = readPictureSize(file);
    if (preview.size->width <= 0) {
        convertForPreview(preview);
        return;
    }
    // The batch asks the same of each file before converting it.
    if (std::optional<NumberedMessage> problem = whyPreviewCannotShow(file)) {
        preview.failure = std::move(problem);
        return;
    }
    const QSize largest = preview.job.largestShown;
    preview.before = reducedTo(decodePicture(file), largest);
    if (const auto converted = convertForPreview(preview)) {
        preview.after = reducedTo(decodePicture(*converted), largest);
    }
}

PreparedPreview prepareForPreview(PreviewJob job) {
    PreparedPreview preview;
    preview.job = std::move(job);
    try {
        preview.fileBytes = fileSize(preview.job.source);
        if (preview.job.convertible) {
            prepareConvertible(preview);
        } else {
            preview.reason = notConvertibleReason(preview.job.source);
        }
    } catch (...) {
        preview.failure = currentErrorMessage();
    }
    return preview;
}

} // namespace

PreviewWorker::PreviewWorker() {
    thread_.reset(QThread::create([this] { work(); }));
    thread_->start();
}

PreviewWorker::~PreviewWorker() {
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_all();
    thread_->wait();
}

void PreviewWorker::prepare(PreviewJob job) {
    {
        const std::lock_guard lock(mutex_);
        next_ = std::move(job);
    }
    wake_.notify_all();
}

void PreviewWorker::work() {
    while (true) {
        PreviewJob job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return next_ || quitting_; });
            if (quitting_) {
                return;
            }
            job = std::move(*next_);
            next_.reset();
        }
        auto preview = std::make_shared<PreparedPreview>(prepareForPreview(std::move(job)));
        // Posted to this object, it is dropped when the window goes first.
        QMetaObject::invokeMethod(
            this, [this, preview] { emit prepared(*preview); }, Qt::QueuedConnection);
    }
}

} // namespace pixtint
