// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionRequest.h"
#include "engine/PictureSize.h"
#include "mainwindow/PreviewFit.h"
#include "mainwindow/PreviewWorker.h"
#include "mainwindow/SessionState.h"

#include <QObject>
#include <filesystem>
#include <optional>

class QWidget;

namespace pixtint {

struct BatchFrame;
class ColourPanel;
class Dialogs;
class FilePanel;
class PreviewArea;
class StatusBar;
struct NumberedMessage;

// The preview of the selected file: its size and path in the status bar, and the picture
// before and after conversion. It runs when the user picks a file, and again whenever what it
// shows depends on changes: the list, the colours, the size options, the window's size. During
// a batch it shows the frames the batch read instead.
class PreviewPresenter : public QObject {
    Q_OBJECT
public:
    // The panels it shows in and reads from; all belong to `window`, as do its message boxes.
    struct Panels {
        FilePanel& files;
        ColourPanel& colours;
        PreviewArea& images;
        StatusBar& statusBar;
    };

    PreviewPresenter(QWidget& window, Dialogs& dialogs, const SessionState& state, Panels panels);

    // The conversion the session asks for, in the colours the swatches show.
    ConversionRequest currentRequest() const;

    // A file whose mark the listing has not found yet is previewed once it has.
    void previewSelectedFile();
    // A preview waits for its file's mark.
    bool pending() const { return waitingForMark_ || shownGeneration_ != generation_; }
    // The after image follows a new colour at once; without a selected file there is nothing
    // to show.
    void previewAfterColourChange();
    // The layout left `room` for the images: the preview is made again for it, or, while a
    // long operation shows the busy cursor, only placed again.
    void followLayout(const PreviewFit::PreviewRoom& room);
    // One file of a running batch, as the batch read it: the window reads nothing.
    void showBatchFrame(const BatchFrame& frame, const std::filesystem::path& file);
    // The file of a running batch whose failure is being told: only its path is shown.
    void showBatchFailure(const std::filesystem::path& file);
    // While a batch or a restore runs, the layout moves the images and previews nothing.
    void holdPreviews(bool held) { held_ = held; }
    // The last previewed picture is a 16 x 15 icon or a strip of them.
    bool growable() const { return growable_; }

signals:
    // Whether the size options are offered for the picture just previewed.
    void sizeOptionsOffered(bool offered);
    // The preview asked for last is shown, its boxes closed.
    void previewShown();

private:
    QSize largestShown() const;
    void markArrived(int end);
    void showPrepared(const PreparedPreview& preview);
    void showPreparedSteps(const PreparedPreview& preview);
    void showPictureSize(PictureSize size);
    void previewNotConvertible(const PreparedPreview& preview);
    void previewConvertible(const PreparedPreview& preview);
    void previewWithoutWidth(const PreparedPreview& preview);
    void showConversionError(const PreparedPreview& preview);
    void previewFailed(const NumberedMessage& message);
    // False when the size cannot be fitted: the images stay where they are.
    bool placeImages(PreviewFit::Size size);
    void placeImagesAtTheirSize();
    void showError(const NumberedMessage& message, const QString& title);

    QWidget& window_;
    Dialogs& dialogs_;
    const SessionState& state_;
    Panels panels_;
    PreviewFit::PreviewRoom room_; // set by the layout
    bool growable_ = false;
    bool previewing_ = false; // a preview is under way, perhaps in one of its boxes
    bool held_ = false;
    bool waitingForMark_ = false;
    PreviewWorker worker_;
    // Each preview asked for is numbered; the one shown last, so that a late one is dropped.
    std::uint64_t generation_ = 0;
    std::uint64_t shownGeneration_ = 0;
};

} // namespace pixtint
