#include "mainwindow/frmMain.h"
#include "platform/ColorValue.h"
#include "platform/TabOrder.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace pixtint {

namespace {

// Creates a control with its name and design geometry (twips, in its container).
template <class ControlType>
ControlType* place(QWidget* container, const QString& name, double left, double top, double width,
                   double height) {
    auto* control = new ControlType(container); // owned by its container
    control->setObjectName(name);
    control->Move(left, top, width, height);
    return control;
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QCursor pickPointer() {
    // The sight's hot spot is its centre.
    QIcon sight;
    sight.addFile(QStringLiteral(":/cursors/pick-cursor-32.png"));
    sight.addFile(QStringLiteral(":/cursors/pick-cursor-16.png"));
    const QPixmap pixmap = sight.pixmap(32, 32);
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

} // namespace

void frmMain::CreateControls() {
    setObjectName(QStringLiteral("frmMain"));
    CreateFileFrame();
    CreateConversionFrame();
    CreatePreviewAndCommands();
    LoadImageList();
    FitCaptions();
    // Row by row, left to right: the file frame, the before row of colour buttons, the after
    // row, the size options, the bottom row.
    chainTabOrder({Command2, ListView1, Command3, Command5[0], Command5[2], Command5[4],
                   Command5[1], Command5[3], Command5[5], Check2, Option1[0], Option1[1], Check1,
                   Command7, Command4, Command1});
}

void frmMain::FitCaptions() {
    constexpr int LabelMargin = 2;
    for (Label* label : {Label2[0], Label4[0], Label4[1]}) {
        label->fitFontTo(label->Caption(), LabelMargin);
    }
    // The legend icons follow their words, so each word must end before its icon.
    const int roomBeforeFirstIcon = Image2[0]->x() - Label2[1]->x() - LabelMargin;
    Label2[1]->fitFontTo(QStringLiteral("■ファイル一覧：    変換可"),
                         Label2[1]->width() - roomBeforeFirstIcon);
    Check1->fitCaptionFont();
    Check2->fitCaptionFont();
    for (OptionButton* option : Option1) {
        option->fitCaptionFont();
    }
}

void frmMain::CreateFileFrame() {
    Frame1 = place<Frame>(this, "Frame1", 120, 120, 5295, 3135);
    Frame1->setCaption(QStringLiteral("ファイル"));

    Label2[0] = place<Label>(Frame1, indexed("Label2", 0), 120, 240, 3135, 255);
    Label2[0]->setCaption(QStringLiteral("■bmpファイルが保存されているフォルダ"));
    Label1 = place<Label>(Frame1, "Label1", 120, 480, 5055, 255);
    Label1->setSingleLineBorder(true);
    Command2 = place<CommandButton>(Frame1, "Command2", 4320, 840, 855, 375);
    Command2->setCaption(QStringLiteral("参 照"));

    Label2[1] = place<Label>(Frame1, indexed("Label2", 1), 120, 1080, 3495, 255);
    Label2[1]->setCaption(QStringLiteral("■ファイル一覧：    変換可        変換不可"));
    Image2[0] = place<ImageBox>(Frame1, indexed("Image2", 0), 2160, 1040, 240, 240);
    Image2[1] = place<ImageBox>(Frame1, indexed("Image2", 1), 3360, 1040, 240, 240);

    ListView1 = place<ListView>(Frame1, "ListView1", 120, 1320, 5055, 1215);
    Command3 = place<CommandButton>(Frame1, "Command3", 4320, 2640, 855, 375);
    Command3->setCaption(QStringLiteral("更 新"));
    Label5 = place<Label>(Frame1, "Label5", 240, 2760, 2295, 255);
}

void frmMain::CreateConversionFrame() {
    Frame2 = place<Frame>(this, "Frame2", 5520, 120, 3255, 3135);
    Frame2->setCaption(QStringLiteral("変換"));

    Frame3 = place<Frame>(Frame2, "Frame3", 120, 360, 3015, 1215);
    Frame3->setCaption(QStringLiteral("色"));
    const std::array<QString, 2> swatchCaptions{QStringLiteral("変換前色："),
                                                QStringLiteral("変換後色：")};
    const std::array<QString, 2> swatchTips{QStringLiteral("変換前色"), QStringLiteral("変換後色")};
    const std::array<QString, 6> buttonTips{
        QStringLiteral("変換前色を色選択ダイアログから指定"),
        QStringLiteral("変換後色を色選択ダイアログから指定"),
        QStringLiteral("変換前色を画像から抽出"),
        QStringLiteral("変換後色を画像から抽出"),
        QStringLiteral("変換前色をWindowsのボタン色から指定"),
        QStringLiteral("変換後色をWindowsのボタン色から指定"),
    };
    const std::array<QString, 3> buttonPictures{QStringLiteral(":/icons/colour-dialog.svg"),
                                                QStringLiteral(":/icons/colour-pick.svg"),
                                                QStringLiteral(":/icons/button-colour.svg")};
    for (int i = 0; i < 2; ++i) {
        const double rowTop = i == 0 ? 0 : 480;
        Label4[i] =
            place<Label>(Frame3, indexed("Label4", i), 120, 360 + (i == 0 ? 0 : 450), 855, 195);
        Label4[i]->setCaption(swatchCaptions[i]);
        Label3[i] = place<Swatch>(Frame3, indexed("Label3", i), 2520, 277 + rowTop, 300, 300);
        Label3[i]->setToolTipText(swatchTips[i]);
    }
    Label3[0]->setBackColor(ColorValue::ActiveBorder);
    Label3[1]->setBackColor(ColorValue::ButtonFace);
    for (int i = 0; i < 6; ++i) {
        const int kind = i / 2;
        Command5[i] = place<CommandButton>(Frame3, indexed("Command5", i), 960 + 480 * kind,
                                           i % 2 == 0 ? 240 : 720, 495, 375);
        Command5[i]->setToolTipText(buttonTips[i]);
        Command5[i]->setIcon(QIcon(buttonPictures[kind]));
        Command5[i]->setIconSize(QSize(16, 16));
    }

    Frame4 = place<Frame>(Frame2, "Frame4", 120, 1800, 3015, 1095);
    Frame4->setCaption(QStringLiteral("サイズ"));
    Check2 = place<CheckBox>(Frame4, "Check2", 120, 240, 1935, 255);
    Check2->setCaption(QStringLiteral("16×16サイズに変更"));
    Check2->setValue(1);
    Option1[0] = place<OptionButton>(Frame4, indexed("Option1", 0), 360, 480, 1935, 255);
    Option1[0]->setCaption(QStringLiteral("上段に挿入"));
    Option1[1] = place<OptionButton>(Frame4, indexed("Option1", 1), 360, 720, 1935, 255);
    Option1[1]->setCaption(QStringLiteral("下段に挿入"));
    Option1[0]->setValue(true);
}

void frmMain::CreatePreviewAndCommands() {
    const QCursor sight = pickPointer();
    const std::array<QString, 2> imageTips{QStringLiteral("変換前画像"),
                                           QStringLiteral("変換後画像")};
    for (int i = 0; i < 2; ++i) {
        Image1[i] =
            place<ImageBox>(this, indexed("Image1", i), i == 0 ? 3120 : 5040, 4080, 795, 795);
        Image1[i]->setToolTipText(imageTips[i]);
        Image1[i]->setCustomPointer(sight);
    }
    Image3 = place<ImageBox>(this, "Image3", 4320, 4320, 510, 330);
    Image3->setPicture(QIcon(QStringLiteral(":/icons/arrow-right.svg")).pixmap(34, 22).toImage());

    Check1 = place<CheckBox>(this, "Check1", 120, 5520, 3495, 255);
    Check1->setCaption(QStringLiteral("変換前のファイルを *.bak として保存する"));
    Check1->setValue(1);
    Command7 = place<CommandButton>(this, "Command7", 5160, 5400, 1335, 375);
    Command7->setCaption(QStringLiteral("Readme.txt"));
    Command7->setToolTipText(QStringLiteral("Readme.txtを閲覧"));
    Command4 = place<CommandButton>(this, "Command4", 6480, 5400, 1455, 375);
    Command4->setCaption(QStringLiteral("変換実行"));
    Command1 = place<CommandButton>(this, "Command1", 7920, 5400, 855, 375);
    Command1->setCaption(QStringLiteral("終 了"));

    StatusBar1 = place<StatusBar>(this, "StatusBar1", 0, 5970, 8910, 300);
    StatusBar1->setPanelToolTip(1, QStringLiteral("大きさ（幅×高さ）"));
    StatusBar1->setPanelToolTip(2, QStringLiteral("ファイルサイズ"));
    StatusBar1->setPanelToolTip(3, QStringLiteral("ファイル名"));
}

void frmMain::LoadImageList() {
    ImageList1.Add(QStringLiteral("BMP"), QIcon(QStringLiteral(":/icons/bmp.svg")));
    ImageList1.Add(QStringLiteral("NoChg"), QIcon(QStringLiteral(":/icons/nochg.svg")));
    ImageList1.Add(QStringLiteral("OK"), QIcon(QStringLiteral(":/icons/ok.svg")));
    ImageList1.Add(QStringLiteral("NG"), QIcon(QStringLiteral(":/icons/ng.svg")));
    Image2[0]->setPicture(ImageList1.icon(QStringLiteral("BMP")).pixmap(16, 16).toImage());
    Image2[1]->setPicture(ImageList1.icon(QStringLiteral("NoChg")).pixmap(16, 16).toImage());
}

} // namespace pixtint
