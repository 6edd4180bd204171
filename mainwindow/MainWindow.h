// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/SessionState.h"

#include <QWidget>
#include <memory>
#include <string>

class QGroupBox;

namespace pixtint {

class BatchController;
class ColourPanel;
class CommandRow;
class Dialogs;
class FilePanel;
class PreviewArea;
class PreviewPresenter;
class SessionSettings;
class SizeOptionsPanel;
class StatusBar;
class WindowLayout;

// The main window: it composes the panels and the parts that work across them (the preview,
// the batch, the layout and the settings), holds the session's choices, decides which
// controls take input, and runs what crosses panels: the folder and its list, the size
// options, the colour pick, the restore, the shortcuts and drops.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The settings file and Readme.txt are found from `programFolder` (desktop/AppLocations.h).
    MainWindow(Dialogs& dialogs, QString programFolder);
    // A batch still running is stopped after the file in hand and waited for.
    ~MainWindow() override;

    // Loads the settings on the first call, then shows the window centred on its screen.
    void showWindow();
    // Lists the folder again and previews the first file.
    void refreshFileList();
    // Makes `folder` the session's folder and lists it: the folder chooser's answer, or the
    // folder named on the command line.
    void useFolder(const QString& folder);
    // Selects the listed file of that name and previews it; a name not listed changes nothing.
    void selectFile(const std::string& name);
    // Shows the selected file before and after conversion.
    void previewSelectedFile();

    const SessionState& state() const { return state_; }
    bool picking() const { return state_.pick.has_value(); }
    bool batchRunning() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Lays the window out again when it comes back from being minimized.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Closing the window during a batch stops it after the file in hand; the window closes
    // once that file's group is in place and the closing box was seen.
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createParts();
    void connectPanels();
    void connectParts();
    // F5, Ctrl+O and Ctrl+Q, and a folder dropped on the window.
    void addShortcutsAndDrops();
    // Nothing else may start while a batch runs or a pick waits for its click.
    bool acceptsCommands() const { return !batchRunning() && !picking(); }
    // Sets every control's enabled state from the session and the preview.
    void applyEnabledState();
    void offerSizeOptions(bool offered);
    void showState();
    void centreOnScreen();
    void leave();

    void resizeToggled(Qt::CheckState state);
    void rowChosen(bool atTop);
    void convertCheckedFiles();
    void restoreTickedFiles();

    void startPick(Side side);
    void previewReleased(Side side, Qt::MouseButton button);
    void endPick();

    Dialogs& dialogs_;
    QString programFolder_;
    SessionState state_;

    FilePanel* filePanel_ = nullptr; // the panels, controls and parts are owned by the window
    QGroupBox* conversionFrame_ = nullptr;
    ColourPanel* colourPanel_ = nullptr;
    SizeOptionsPanel* sizeOptions_ = nullptr;
    PreviewArea* previewArea_ = nullptr;
    CommandRow* commandRow_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    PreviewPresenter* preview_ = nullptr;
    WindowLayout* layout_ = nullptr;
    SessionSettings* settings_ = nullptr;
    // Owned here rather than by the window, so that a running batch is stopped before the
    // panels it shows in are gone.
    std::unique_ptr<BatchController> batch_;

    bool sizeOptionsOffered_ = true; // the size frame and its box
    bool rowOptionsOffered_ = true;  // the two row options
    bool loaded_ = false;
    bool closeAfterBatch_ = false;
};

} // namespace pixtint
