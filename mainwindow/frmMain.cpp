#include "mainwindow/frmMain.h"

#include "platform/AppLocations.h"
#include "platform/Dialogs.h"

#include <QIcon>

namespace pixtint {

namespace {
constexpr double DesignClientWidth = 8910;
constexpr double DesignClientHeight = 6270;
} // namespace

frmMain::frmMain(Dialogs& dialogs, QString programFolder)
    : dialogs_(dialogs)
    , programFolder_(std::move(programFolder)) {
    setWindowIcon(QIcon(QStringLiteral(":/icons/pixtint.svg")));
    // The design geometry was drawn for a 9-point user-interface font.
    QFont designFont = font();
    designFont.setPointSize(9);
    setFont(designFont);
    CreateControls();
    ConnectEvents();
    setClientSize(DesignClientWidth, DesignClientHeight);
}

void frmMain::Show() {
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
    show();
    centreOnScreen();
}

QString frmMain::settingsFilePath() const {
    return AppLocations::SettingsFile(programFolder_);
}

QString frmMain::readmeFilePath() const {
    return AppLocations::ReadmeFile(programFolder_);
}

void frmMain::ConnectEvents() {
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(Command7, &QPushButton::clicked, this, &frmMain::Command7_Click);
    for (int i = 0; i < static_cast<int>(Command5.size()); ++i) {
        connect(Command5[i], &QPushButton::clicked, this, [this, i] { Command5_Click(i); });
    }
    for (int i = 0; i < static_cast<int>(Image1.size()); ++i) {
        connect(Image1[i], &ImageBox::MouseUp, this,
                [this, i](int button) { Image1_MouseUp(i, button); });
    }
    for (int i = 0; i < static_cast<int>(Option1.size()); ++i) {
        connect(Option1[i], &OptionButton::Click, this, [this, i] { Option1_Click(i); });
    }
    connect(Check2, &CheckBox::Click, this, &frmMain::Check2_Click);
    connect(ListView1, &ListView::Click, this, &frmMain::ListView1_Click);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    // The status bar is docked along the bottom edge, across the whole client area.
    StatusBar1->Move(0, ScaleHeight() - StatusBar1->Height(), ScaleWidth(), StatusBar1->Height());
    Form_Resize();
}

} // namespace pixtint
