// SPDX-License-Identifier: MIT
#pragma once

#include "conversion/ConversionRequest.h"
#include "conversion/ConvertedPicture.h"
#include "mainwindow/DisplaySize.h"
#include "mainwindow/ErrorMessages.h"
#include "mainwindow/ItemMark.h"
#include "mainwindow/PreviewFit.h"
#include "mainwindow/SessionState.h"
#include "platform/BusyCursor.h"

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QGroupBox;
class QShortcut;

namespace pixtint {

class BatchWorker;
struct BatchTally;
class ColourPanel;
class CommandRow;
class Dialogs;
class FilePanel;
class PreviewArea;
class SizeOptionsPanel;
class StatusBar;

// The main window: it composes the panels, holds the session's choices, and runs what
// crosses panels: the preview of the selected file, the batch, the colour pick, the settings
// and the layout. Each of these lives in a file of its name.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The settings file and Readme.txt are found from `programFolder` (platform/AppLocations.h).
    MainWindow(Dialogs& dialogs, QString programFolder);
    // A batch still running is stopped after the file in hand and waited for.
    ~MainWindow() override;

    // Loads the settings on the first call, then shows the window centred on its screen.
    void showWindow();
    // Lists the folder again and previews the first file (FileList.cpp).
    void refreshFileList();
    // Makes `folder` the session's folder and lists it: the folder chooser's answer, or the
    // folder named on the command line (FileList.cpp).
    void useFolder(const QString& folder);
    // Selects the listed file of that name and previews it; a name not listed changes nothing
    // (FileList.cpp).
    void selectFile(const std::string& name);
    // Shows the selected file before and after conversion (Preview.cpp).
    void previewSelectedFile();

    const SessionState& state() const { return state_; }
    bool picking() const { return state_.pick.has_value(); }
    bool batchRunning() const { return batch_ != nullptr; }

    QString settingsFilePath() const;
    std::optional<QString> readmeFilePath() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Lays the window out again when it comes back from being minimized.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectPanels();
    // F5, Ctrl+O and Ctrl+Q, and a folder dropped on the window (ShortcutsAndDrops.cpp).
    void addShortcutsAndDrops();
    // Nothing else may start while a batch runs or a pick waits for its click.
    bool acceptsCommands() const { return !batchRunning() && !picking(); }
    // Sets every control's enabled state from the session and the preview.
    void applyEnabledState();
    void showState();
    void centreOnScreen();
    void showError(const NumberedMessage& message, const QString& title);

    // Settings, the guide and leaving (SessionSettings.cpp).
    void loadSettings();
    bool readSettingsFile();
    void leave();
    void openReadme();
    void saveSettings();

    // The preview (Preview.cpp).
    ConversionRequest currentRequest() const;
    void showFileInStatusBar(const std::filesystem::path& source);
    void showPictureSize(PictureSize size);
    void previewNotConvertible(const std::filesystem::path& source);
    void previewConvertible(const std::filesystem::path& source, int row);
    void previewWithoutWidth(const std::filesystem::path& source, int row);
    std::optional<ConvertedPicture> convertForPreview(const std::filesystem::path& source);
    void previewFailed(const NumberedMessage& message);
    // The after image follows a new colour at once; without a selected file there is nothing
    // to show.
    void previewAfterColourChange();
    void offerSizeOptions(bool offered);

    // The size options (SizeOptions.cpp).
    void resizeToggled(Qt::CheckState state);
    void rowChosen(bool atTop);

    // Undo: the ticked files' backups put back (RestoreFromBackup.cpp).
    void restoreTickedFiles();

    // The batch, on a thread of its own (BatchConversion.cpp).
    void addBatchStop();
    void convertCheckedFiles();
    void startBatch();
    void batchFileDone(std::size_t index, ItemMark mark);
    void batchFileFailed(std::size_t index, const NumberedMessage& message, bool unshowable);
    void showBatchFrame();
    void batchFinished(const BatchTally& tally);

    // The colour pick (ColourPick.cpp).
    void startPick(Side side);
    void previewReleased(Side side, Qt::MouseButton button);
    void endPick();

    // The layout (WindowLayout.cpp).
    void followWindowSize();
    void requestMinimumSizeCorrection();
    void correctMinimumSize();
    void layOutControls();
    // False when the size cannot be fitted: the images stay where they are.
    bool placePreviewImages(PreviewFit::Size size);
    void placeImagesAtTheirSize();

    Dialogs& dialogs_;
    QString programFolder_;
    SessionState state_;

    FilePanel* filePanel_ = nullptr; // the panels and controls are owned by the window
    QGroupBox* conversionFrame_ = nullptr;
    ColourPanel* colourPanel_ = nullptr;
    SizeOptionsPanel* sizeOptions_ = nullptr;
    PreviewArea* previewArea_ = nullptr;
    CommandRow* commandRow_ = nullptr;
    StatusBar* statusBar_ = nullptr;

    PreviewFit::PreviewArea previewRoom_; // set by the layout
    bool growable_ = false; // the last previewed picture is a 16 x 15 icon or a strip of them
    bool sizeOptionsOffered_ = true; // the size frame and its box
    bool rowOptionsOffered_ = true;  // the two row options
    bool loaded_ = false;
    bool sizeCorrectionPending_ = false;

    // The batch while it runs: its files, the list row of each, and the last file done.
    std::unique_ptr<BatchWorker> batch_;
    std::vector<int> batchRows_;
    std::vector<std::filesystem::path> batchFiles_;
    std::optional<std::size_t> lastDone_;
    std::optional<BusyCursor> busy_;
    QShortcut* stopShortcut_ = nullptr; // Esc while a batch runs
    bool closeAfterBatch_ = false;
};

} // namespace pixtint
