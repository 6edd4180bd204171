// SPDX-License-Identifier: MIT
#include "mainwindow/MainWindow.h"

#include "desktop/FilePaths.h"
#include "desktop/FolderDrop.h"
#include "desktop/ProgramInfo.h"
#include "dialogs/Dialogs.h"
#include "mainwindow/BatchController.h"
#include "mainwindow/ColourPanel.h"
#include "mainwindow/CommandRow.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/LayoutRules.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/PreviewPresenter.h"
#include "mainwindow/RestoreFromBackup.h"
#include "mainwindow/SessionSettings.h"
#include "mainwindow/SizeOptionsPanel.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/WindowLayout.h"
#include "widgets/FrameTitle.h"
#include "widgets/PictureView.h"
#include "widgets/TabOrder.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QWindowStateChangeEvent>

namespace pixtint {

namespace {

QString windowCaption() {
    return QStringLiteral("Pixtint (Ver%1.%2)")
        .arg(ProgramInfo::majorVersion())
        .arg(ProgramInfo::minorVersion());
}

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, QString programFolder)
    : QWidget(nullptr, Qt::Window)
    , dialogs_(dialogs)
    , programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/pixtint.svg")));
    // The design geometry was drawn for a 9-point user-interface font.
    QFont designFont = font();
    designFont.setPointSize(9);
    setFont(designFont);
    createControls();
    createParts();
    connectPanels();
    connectParts();
    addShortcutsAndDrops();
    resize(Twips::toPixels(LayoutRules::Design::ClientWidth),
           Twips::toPixels(LayoutRules::Design::ClientHeight));
}

MainWindow::~MainWindow() = default;

// The panels in the order of the window's rows, which is also the order Tab follows.
void MainWindow::createControls() {
    filePanel_ = new FilePanel(this, dialogs_);
    conversionFrame_ = new QGroupBox(tr("変換"), this);
    conversionFrame_->setObjectName(QStringLiteral("Frame2"));
    putTitleInBorder(*conversionFrame_);
    placeInTwips(*conversionFrame_, LayoutRules::Design::conversionFrame);
    colourPanel_ = new ColourPanel(conversionFrame_, dialogs_);
    sizeOptions_ = new SizeOptionsPanel(conversionFrame_);
    previewArea_ = new PreviewArea(this);
    commandRow_ = new CommandRow(this);
    statusBar_ = new StatusBar(this);
    placeInTwips(*statusBar_, LayoutRules::Design::statusBar);

    std::vector<QWidget*> rows;
    for (const auto& row : {filePanel_->tabOrder(), colourPanel_->tabOrder(),
                            sizeOptions_->tabOrder(), commandRow_->tabOrder()}) {
        rows.insert(rows.end(), row.begin(), row.end());
    }
    chainTabOrder(rows);
}

void MainWindow::createParts() {
    preview_ =
        new PreviewPresenter(*this, dialogs_, state_, {*filePanel_, *previewArea_, *statusBar_});
    layout_ = new WindowLayout(
        *this, dialogs_,
        {*filePanel_, *conversionFrame_, *commandRow_, *previewArea_, *statusBar_});
    settings_ = new SessionSettings(*this, dialogs_, programFolder_);
    batch_ = std::make_unique<BatchController>(*this, dialogs_, *filePanel_, *preview_);
    restore_ = std::make_unique<RestoreController>(*this, dialogs_, *filePanel_, *statusBar_);
}

void MainWindow::connectPanels() {
    connect(filePanel_, &FilePanel::folderChosen, this, &MainWindow::useFolder);
    connect(filePanel_, &FilePanel::refreshRequested, this, &MainWindow::refreshFileList);
    connect(filePanel_, &FilePanel::userSelected, this, &MainWindow::previewSelectedFile);
    connect(filePanel_, &FilePanel::restoreRequested, this, &MainWindow::restoreTickedFiles);
    connect(filePanel_, &FilePanel::listingEnded, this, &MainWindow::applyEnabledState);
    connect(colourPanel_, &ColourPanel::colourChosen, this, [this](Side side, std::int32_t value) {
        state_.colours.of(side) = value;
        colourPanel_->showColours(state_.colours);
        preview_->previewAfterColourChange();
    });
    connect(colourPanel_, &ColourPanel::pickRequested, this, &MainWindow::startPick);
    connect(sizeOptions_, &SizeOptionsPanel::resizeToggled, this, &MainWindow::resizeToggled);
    connect(sizeOptions_, &SizeOptionsPanel::rowChosen, this, &MainWindow::rowChosen);
    connect(previewArea_, &PreviewArea::released, this, &MainWindow::previewReleased);
    connect(previewArea_, &PreviewArea::shownChanged, this, &MainWindow::applyEnabledState);
    connect(commandRow_, &CommandRow::backupToggled, this,
            [this](Qt::CheckState state) { state_.keepBackup = state; });
    connect(commandRow_, &CommandRow::readmeRequested, settings_, &SessionSettings::openReadme);
    connect(commandRow_, &CommandRow::convertRequested, this, &MainWindow::convertCheckedFiles);
    connect(commandRow_, &CommandRow::exitRequested, this, &MainWindow::leave);
}

void MainWindow::connectParts() {
    connect(preview_, &PreviewPresenter::sizeOptionsOffered, this, [this](bool offered) {
        offerSizeOptions(offered);
        if (rowsFollowResizeBox_) {
            rowsFollowResizeBox_ = false;
            offerRowOptionsAsTheBoxSays();
        }
    });
    connect(layout_, &WindowLayout::laidOut, preview_, &PreviewPresenter::followLayout);
    connect(batch_.get(), &BatchController::runningChanged, this, &MainWindow::applyEnabledState);
    connect(batch_.get(), &BatchController::ended, this, [this] {
        if (closeAfterRun_) {
            close();
        }
    });
    connect(restore_.get(), &RestoreController::runningChanged, this,
            &MainWindow::applyEnabledState);
    connect(restore_.get(), &RestoreController::ended, this, &MainWindow::restoreEnded);
}

// What desktop programs offer beside their buttons: F5 refreshes the list, Ctrl+O opens the
// folder chooser, Ctrl+Q leaves as the exit button does (the settings kept), and a folder
// dropped on the window, or a file standing for its folder, is chosen as the chooser would.
void MainWindow::addShortcutsAndDrops() {
    const auto addShortcut = [this](const QKeySequence& keys, auto command) {
        auto* shortcut = new QShortcut(keys, this); // owned by the window
        connect(shortcut, &QShortcut::activated, this, [this, command] {
            if (acceptsCommands()) {
                command();
            }
        });
    };
    addShortcut(QKeySequence(Qt::Key_F5), [this] { refreshFileList(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { filePanel_->chooseFolder(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { leave(); });

    auto* drops = new FolderDropTarget(*this, [this] { return acceptsCommands(); });
    // Queued, so that the drag's source hears the drop accepted before the folder is read.
    connect(drops, &FolderDropTarget::folderDropped, this, &MainWindow::useFolder,
            Qt::QueuedConnection);
}

void MainWindow::showWindow() {
    if (!loaded_) {
        loaded_ = true;
        settings_->load(state_);
        showState();
        setWindowTitle(windowCaption());
    }
    show();
    centreOnScreen();
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(available.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

void MainWindow::showState() {
    filePanel_->showFolder(state_.folder);
    colourPanel_->showColours(state_.colours);
    sizeOptions_->showOptions(state_.resizeTo16x16, state_.insertAtTop);
    commandRow_->showBackup(state_.keepBackup);
}

bool MainWindow::batchRunning() const {
    return batch_->running();
}

bool MainWindow::restoreRunning() const {
    return restore_->running();
}

bool MainWindow::working() const {
    return restoreRunning() || filePanel_->listing() || preview_->pending();
}

// While a pick waits for its click, only the preview images take input: everything else
// would leave the pick running behind it. While a batch runs, nothing that could change it
// does. The size options are offered for 16 x 15 icons and strips of them, a pick while the
// preview it reads shows a picture.
void MainWindow::applyEnabledState() {
    const bool free = !state_.pick && !batchRunning() && !restoreRunning();
    preview_->holdPreviews(batchRunning() || restoreRunning());
    filePanel_->setInputEnabled(free);
    colourPanel_->setEnabled(free);
    colourPanel_->setInputEnabled(free);
    for (const Side side : {Side::Before, Side::After}) {
        colourPanel_->offerPick(side, !previewArea_->image(side).picture().isNull());
    }
    commandRow_->setInputEnabled(free);
    commandRow_->setConvertReady(free && !filePanel_->listing());
    previewArea_->setArrowEnabled(free);
    sizeOptions_->setOffered(free && sizeOptionsOffered_, free && rowOptionsOffered_);
}

void MainWindow::offerSizeOptions(bool offered) {
    sizeOptionsOffered_ = offered;
    rowOptionsOffered_ = offered;
    applyEnabledState();
}

// Only leaving through the exit button keeps the settings; closing the window otherwise
// leaves the file as it was.
void MainWindow::leave() {
    settings_->save(state_);
    close();
}

// The names show at once; the first file is previewed once its mark is known.
void MainWindow::refreshFileList() {
    filePanel_->refreshFileList(state_.folder);
    applyEnabledState();
    previewSelectedFile();
}

void MainWindow::useFolder(const QString& folder) {
    state_.folder = folderPath(folder);
    filePanel_->showFolder(state_.folder);
    refreshFileList();
}

void MainWindow::selectFile(const std::string& name) {
    if (filePanel_->listing()) {
        filePanel_->selectWhenListed(name);
        return;
    }
    FileListWidget& list = filePanel_->fileList();
    for (int row = 0; row < list.count(); ++row) {
        if (list.fileName(row) == name) {
            list.selectRow(row);
            previewSelectedFile();
            return;
        }
    }
}

void MainWindow::previewSelectedFile() {
    preview_->previewSelectedFile();
}

// Both size options redo the preview, so that the after image shows the current choice.
void MainWindow::resizeToggled(Qt::CheckState state) {
    state_.resizeTo16x16 = state;
    previewSelectedFile();
    // Now and again after the preview, which may offer the options for a 16 x 15 icon or strip:
    // the row options are offered exactly while the row insertion is switched on.
    offerRowOptionsAsTheBoxSays();
    rowsFollowResizeBox_ = preview_->pending();
}

void MainWindow::offerRowOptionsAsTheBoxSays() {
    rowOptionsOffered_ = state_.resizeTo16x16 != Qt::Unchecked;
    applyEnabledState();
}

void MainWindow::rowChosen(bool atTop) {
    state_.insertAtTop = atTop;
    previewSelectedFile();
}

// "変換実行": every ticked convertible file, converted in place.
void MainWindow::convertCheckedFiles() {
    if (filePanel_->fileList().count() == 0) {
        dialogs_.showMessage(this, tr("変換するファイルがありません！"), QMessageBox::Warning);
        return;
    }
    batch_->start(filePanel_->chosenRows(), preview_->currentRequest());
}

// The list's "バックアップから元に戻す": every ticked picture gets its backup back, then the
// list is read again, since marks and ticks describe files that have just changed.
void MainWindow::restoreTickedFiles() {
    const std::vector<int> rows = filePanel_->tickedRows();
    if (rows.empty()) {
        dialogs_.showMessage(this, tr("元に戻すファイルがありません！"), QMessageBox::Warning);
        return;
    }
    restore_->start(rows);
}

void MainWindow::restoreEnded(const RestoreTally& tally) {
    refreshFileList();
    dialogs_.showMessage(this, restoreSummary(tally), QMessageBox::NoIcon);
    if (closeAfterRun_) {
        close();
    }
}

// A colour picked from a preview: a colour button arms the pick on its side's preview, and
// the next release of a mouse button over either preview ends it. A left release over that same
// preview takes the colour of the picture's pixel under the pointer (what the pixel stands for,
// not how the screen blends its alpha); any other release, or Esc, takes nothing.
void MainWindow::startPick(Side side) {
    state_.pick = side;
    previewArea_->startPick(side);
    applyEnabledState();
}

void MainWindow::previewReleased(Side side, Qt::MouseButton button) {
    if (!state_.pick) {
        return;
    }
    if (button == Qt::LeftButton && side == *state_.pick) {
        const PictureView& image = previewArea_->image(side);
        colourPanel_->takePickedColour(side,
                                       image.pictureColourAt(image.mapFromGlobal(QCursor::pos())));
    }
    endPick();
}

void MainWindow::endPick() {
    state_.pick.reset();
    offerSizeOptions(preview_->growable());
    previewArea_->endPick();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_->windowResized();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) {
        layout_->windowRestored();
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (picking() && event->key() == Qt::Key_Escape) {
        endPick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (batchRunning() || restoreRunning()) {
        closeAfterRun_ = true;
        batch_->requestStop();
        restore_->requestStop();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace pixtint
