#include "coloursources/frmWindowsButtonColor.h"

#include "platform/ColorValue.h"
#include "platform/Twips.h"

#include <algorithm>

namespace pixtint {

namespace {

constexpr double ClientWidth = 3210;
constexpr double ClientHeight = 1725;
constexpr int SetButton = 0;

struct Choice {
    const char* caption;
    double optionWidth;
    std::int32_t colour;
};

// Push-button faces of the classic standard schemes, then the system's own button face, which
// stays a reference so that the caller gets the system colour rather than today's look of it.
constexpr std::array<Choice, 4> Choices{{
    {"Windows XP", 1455, 0x00D8E9EC},
    {"Windows 2000", 1455, 0x00C8D0D4},
    {"Windows 98", 1455, 0x00BFBFBF},
    {"現在のボタン色", 1575, ColorValue::ButtonFace},
}};

template <class ControlType>
ControlType* place(QWidget* container, const char* name, int index, double left, double top,
                   double width, double height) {
    auto* control = new ControlType(container); // owned by the dialog
    control->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index));
    control->Move(left, top, width, height);
    return control;
}

} // namespace

frmWindowsButtonColor::frmWindowsButtonColor(QString& tag, QWidget* owner)
    : QDialog(owner)
    , tag_(tag) {
    setObjectName(QStringLiteral("frmWindowsButtonColor"));
    setWindowTitle(QStringLiteral("Windowsのボタン色から指定"));
    setModal(true);
    if (owner != nullptr) {
        // Drawn in the owner's font, for which the design sizes were made, and in its colours,
        // so that the current button colour shows as the owner's conversion will write it.
        setFont(owner->window()->font());
        setPalette(owner->window()->palette());
    }
    setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    CreateControls();
    FitCaptions();
    Form_Load();
}

void frmWindowsButtonColor::CreateControls() {
    for (int i = 0; i < 4; ++i) {
        const double rowTop = 120 + 360 * i;
        Option1[i] =
            place<OptionButton>(this, "Option1", i, 120, rowTop, Choices[i].optionWidth, 255);
        Option1[i]->setCaption(QString::fromUtf8(Choices[i].caption));
    }
    for (int i = 0; i < 4; ++i) {
        Label1[i] = place<Swatch>(this, "Label1", i, 1680, 120 + 360 * i, 255, 255);
    }
    Command1[0] = place<CommandButton>(this, "Command1", 0, 2160, 840, 855, 375);
    Command1[0]->setCaption(QStringLiteral("設 定"));
    Command1[1] = place<CommandButton>(this, "Command1", 1, 2160, 1200, 855, 375);
    Command1[1]->setCaption(QStringLiteral("閉じる"));
    Option1[3]->setValue(true);
    for (int i = 0; i < 2; ++i) {
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
}

void frmWindowsButtonColor::FitCaptions() {
    // The design sizes were drawn for a narrower typeface. The choices share one size, the one
    // the longest of them needs, so that the column reads evenly.
    double pointSize = font().pointSizeF();
    for (OptionButton* option : Option1) {
        option->fitCaptionFont();
        pointSize = std::min(pointSize, option->font().pointSizeF());
    }
    for (OptionButton* option : Option1) {
        QFont font = option->font();
        font.setPointSizeF(pointSize);
        option->setFont(font);
    }
}

void frmWindowsButtonColor::Form_Load() {
    for (int i = 0; i < 4; ++i) {
        Label1[i]->setBackColor(Choices[i].colour);
    }
}

void frmWindowsButtonColor::Command1_Click(int index) {
    if (index != SetButton) {
        reject();
        return;
    }
    for (int i = 0; i < 4; ++i) {
        if (Option1[i]->Value()) {
            tag_ = QString::number(Label1[i]->BackColor());
            break;
        }
    }
    accept();
}

} // namespace pixtint
