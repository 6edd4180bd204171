#include "mainwindow/MainWindow.h"

#include "mainwindow/ColourPanel.h"
#include "mainwindow/CommandRow.h"
#include "mainwindow/ControlPlacement.h"
#include "mainwindow/FilePanel.h"
#include "mainwindow/PreviewArea.h"
#include "mainwindow/SizeOptionsPanel.h"
#include "platform/Frame.h"
#include "platform/StatusBar.h"
#include "platform/TabOrder.h"

#include <QIcon>
#include <QKeyEvent>

namespace pixtint {

namespace {
constexpr double DesignClientWidth = 8910;
constexpr double DesignClientHeight = 6270;
} // namespace

MainWindow::MainWindow(Dialogs& dialogs, QString programFolder)
    : dialogs_(dialogs)
    , programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/pixtint.svg")));
    // The design geometry was drawn for a 9-point user-interface font.
    QFont designFont = font();
    designFont.setPointSize(9);
    setFont(designFont);
    createControls();
    connectPanels();
    setClientSize(DesignClientWidth, DesignClientHeight);
}

// The panels in the order of the window's rows, which is also the order Tab follows.
void MainWindow::createControls() {
    filePanel_ = new FilePanel(this, dialogs_);
    conversionFrame_ = placeControl<Frame>(this, "Frame2", 5520, 120, 3255, 3135);
    conversionFrame_->setCaption(QStringLiteral("変換"));
    colourPanel_ = new ColourPanel(conversionFrame_, dialogs_);
    sizeOptions_ = new SizeOptionsPanel(conversionFrame_);
    previewArea_ = new PreviewArea(this);
    commandRow_ = new CommandRow(this);
    statusBar_ = placeControl<StatusBar>(this, "StatusBar1", 0, 5970, 8910, 300);
    statusBar_->setPanelToolTip(1, QStringLiteral("大きさ（幅×高さ）"));
    statusBar_->setPanelToolTip(2, QStringLiteral("ファイルサイズ"));
    statusBar_->setPanelToolTip(3, QStringLiteral("ファイル名"));

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
    connect(filePanel_, &FilePanel::itemClicked, this, &MainWindow::previewSelectedFile);
    connect(colourPanel_, &ColourPanel::colourChosen, this,
            [this](int swatch, std::int32_t value) { state_.setColour(swatch, value); });
    connect(colourPanel_, &ColourPanel::pickRequested, this, &MainWindow::startPick);
    connect(sizeOptions_, &SizeOptionsPanel::resizeToggled, this, &MainWindow::resizeToggled);
    connect(sizeOptions_, &SizeOptionsPanel::rowChosen, this, &MainWindow::rowChosen);
    connect(previewArea_, &PreviewArea::released, this, &MainWindow::previewReleased);
    connect(commandRow_, &CommandRow::backupToggled, this,
            [this](int value) { state_.keepBackup = value; });
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

void MainWindow::showState() {
    filePanel_->showFolder(state_.folder);
    colourPanel_->showColours(state_.beforeColour, state_.afterColour);
    sizeOptions_->showOptions(state_.resizeTo16x16, state_.insertAtTop);
    commandRow_->showBackup(state_.keepBackup);
}

// While a pick waits for its click, only the preview images take input: everything else
// would leave the pick running behind it. The size options are offered for 16 x 15 pictures.
void MainWindow::applyEnabledState() {
    const bool free = !state_.pick;
    filePanel_->setInputEnabled(free);
    colourPanel_->setEnabled(free);
    colourPanel_->setInputEnabled(free);
    commandRow_->setInputEnabled(free);
    previewArea_->setArrowEnabled(free);
    sizeOptions_->setOffered(free && sizeOptionsOffered_, free && rowOptionsOffered_);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    // The status bar is docked along the bottom edge, across the whole client area.
    statusBar_->Move(0, ScaleHeight() - statusBar_->Height(), ScaleWidth(), statusBar_->Height());
    followWindowSize();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (picking() && event->key() == Qt::Key_Escape) {
        endPick();
        return;
    }
    Form::keyPressEvent(event);
}

} // namespace pixtint
