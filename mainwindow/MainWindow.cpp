// SPDX-License-Identifier: MIT
#include "mainwindow/MainWindow.h"

#include "mainwindow/BatchWorker.h"
#include "mainwindow/ColourPanel.h"
#include "mainwindow/CommandRow.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/LayoutRules.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/SizeOptionsPanel.h"
#include "mainwindow/StatusBar.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "platform/FrameTitle.h"
#include "platform/TabOrder.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>

namespace pixtint {

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
    connectPanels();
    addShortcutsAndDrops();
    addBatchStop();
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

void MainWindow::connectPanels() {
    connect(filePanel_, &FilePanel::folderChosen, this, &MainWindow::useFolder);
    connect(filePanel_, &FilePanel::refreshRequested, this, &MainWindow::refreshFileList);
    connect(filePanel_, &FilePanel::userSelected, this, &MainWindow::previewSelectedFile);
    connect(filePanel_, &FilePanel::restoreRequested, this, &MainWindow::restoreTickedFiles);
    connect(colourPanel_, &ColourPanel::colourChosen, this, [this](Side side, std::int32_t value) {
        state_.colours.of(side) = value;
        previewAfterColourChange();
    });
    connect(colourPanel_, &ColourPanel::pickRequested, this, &MainWindow::startPick);
    connect(sizeOptions_, &SizeOptionsPanel::resizeToggled, this, &MainWindow::resizeToggled);
    connect(sizeOptions_, &SizeOptionsPanel::rowChosen, this, &MainWindow::rowChosen);
    connect(previewArea_, &PreviewArea::released, this, &MainWindow::previewReleased);
    connect(commandRow_, &CommandRow::backupToggled, this,
            [this](Qt::CheckState state) { state_.keepBackup = state; });
    connect(commandRow_, &CommandRow::readmeRequested, this, &MainWindow::openReadme);
    connect(commandRow_, &CommandRow::convertRequested, this, &MainWindow::convertCheckedFiles);
    connect(commandRow_, &CommandRow::exitRequested, this, &MainWindow::leave);
}

void MainWindow::showWindow() {
    if (!loaded_) {
        loaded_ = true;
        loadSettings();
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

void MainWindow::showError(const NumberedMessage& message, const QString& title) {
    dialogs_.showMessage(this, message.text(), QMessageBox::Critical, title);
}

// While a pick waits for its click, only the preview images take input: everything else
// would leave the pick running behind it. While a batch runs, nothing that could change it
// does. The size options are offered for 16 x 15 icons and strips of them.
void MainWindow::applyEnabledState() {
    const bool free = !state_.pick && !batchRunning();
    filePanel_->setInputEnabled(free);
    colourPanel_->setEnabled(free);
    colourPanel_->setInputEnabled(free);
    commandRow_->setInputEnabled(free);
    previewArea_->setArrowEnabled(free);
    sizeOptions_->setOffered(free && sizeOptionsOffered_, free && rowOptionsOffered_);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeInTwips(*statusBar_, LayoutRules::statusBarPlace(Twips::fromPixels(width()),
                                                          Twips::fromPixels(height())));
    followWindowSize();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (picking() && event->key() == Qt::Key_Escape) {
        endPick();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace pixtint
