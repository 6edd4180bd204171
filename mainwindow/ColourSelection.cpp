#include "coloursources/GetMouseMoveColor.h"
#include "engine/AppError.h"
#include "mainwindow/frmMain.h"
#include "platform/ColorValue.h"
#include "platform/Dialogs.h"

#include <limits>
#include <optional>
#include <utility>

namespace pixtint {

// Colour selection: the six colour buttons, the pick from a preview image, and the controls
// locked while a pick waits for its mouse release.

namespace {

constexpr int PickFromImageFirst = 2;
constexpr int ButtonColoursFirst = 4;
constexpr int LeftButton = 1;

// The button-colour dialog's answer, the decimal text of a colour value.
std::int32_t colourValueFromTag(const QString& tag) {
    bool isNumber = false;
    const qlonglong value = tag.trimmed().toLongLong(&isNumber);
    if (!isNumber) {
        throw AppError(ErrorNumber::TypeMismatch);
    }
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw AppError(ErrorNumber::Overflow);
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

void frmMain::Command5_Click(int index) {
    try {
        pickTarget_ = index;
        switch (index) {
        case 0:
        case 1:
            ChooseFromColourDialog(index);
            break;
        case 2:
        case 3:
            ArmPick(index - PickFromImageFirst);
            break;
        case 4:
        case 5:
            ChooseFromButtonColours(index - ButtonColoursFirst);
            break;
        default:
            break;
        }
    } catch (const AppError& error) {
        dialogs_.ShowError(this, error, QStringLiteral("MakeListエラー"));
    }
}

void frmMain::ChooseFromColourDialog(int swatch) {
    const std::optional<QColor> colour = dialogs_.ShowColor(this);
    if (!colour) {
        return; // cancelled: the swatch keeps its colour, and nothing is said
    }
    Label3[swatch]->setBackColor(ColorValue::fromColor(*colour));
}

void frmMain::ArmPick(int imageIndex) {
    Image1[imageIndex]->setMousePointer(ImageBox::CustomPointer);
    Image1[imageIndex]->setToolTipText(QStringLiteral("右クリックでキャンセル"));
    pickMode_ = true;
    EnableMainControls(false, imageIndex);
    EnableSizeOptions(false);
}

void frmMain::ChooseFromButtonColours(int swatch) {
    dialogs_.ShowButtonColorDialog(this, Tag);
    // The tag is emptied even when its text is no colour, so a stale answer is never read again.
    const QString answer = std::exchange(Tag, QString());
    if (!answer.isEmpty()) {
        Label3[swatch]->setBackColor(colourValueFromTag(answer));
    }
}

void frmMain::Image1_MouseUp(int index, int button) {
    if (!pickMode_) {
        return;
    }
    const int swatch = pickTarget_ - PickFromImageFirst;
    if (button == LeftButton && (swatch == 0 || swatch == 1)) {
        Label3[swatch]->setBackColor(GetCursorPixelColor(this));
    }
    EndPick(index);
}

void frmMain::EndPick(int imageIndex) {
    EnableMainControls(true, imageIndex);
    EnableSizeOptions(sixteenByFifteen_);
    Image1[imageIndex]->setMousePointer(ImageBox::DefaultPointer);
    Image1[1 - imageIndex]->setMousePointer(ImageBox::DefaultPointer);
    Image1[0]->setToolTipText(QStringLiteral("変換前画像"));
    Image1[1]->setToolTipText(QStringLiteral("変換後画像"));
    pickMode_ = false;
}

void frmMain::EnableMainControls(bool enabled, int imageIndex) {
    // The image being picked from stays enabled: it alone receives the release ending the pick.
    Command1->setEnabled(enabled);
    Command2->setEnabled(enabled);
    Command3->setEnabled(enabled);
    Command4->setEnabled(enabled);
    Command7->setEnabled(enabled);
    ListView1->setEnabled(enabled);
    Check1->setEnabled(enabled);
    Image1[imageIndex == 0 ? 1 : 0]->setEnabled(enabled);
    Frame3->setEnabled(enabled);
    Label4[0]->setEnabled(enabled);
    Label4[1]->setEnabled(enabled);
    Image3->setEnabled(enabled);
    for (CommandButton* button : Command5) {
        button->setEnabled(enabled);
    }
    Label3[0]->setEnabled(enabled);
    Label3[1]->setEnabled(enabled);
}

} // namespace pixtint
