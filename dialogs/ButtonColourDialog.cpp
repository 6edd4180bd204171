// SPDX-License-Identifier: MIT
#include "dialogs/ButtonColourDialog.h"

#include "widgets/ColourValue.h"
#include "widgets/ControlPlacement.h"
#include "widgets/FontFit.h"
#include "widgets/PushButton.h"
#include "widgets/Swatch.h"

#include <QRadioButton>
#include <algorithm>

namespace pixtint {

namespace {

constexpr double ClientWidth = 3210;
constexpr double ClientHeight = 1725;

struct Choice {
    const char* caption;
    double captionWidth;
    std::int32_t colour;
};

// Push-button faces of the classic standard schemes, then the system's own button face, which
// stays a reference so that the caller gets the system colour rather than today's look of it.
constexpr std::array<Choice, 4> Choices{{
    {"Windows XP", 1455, 0x00D8E9EC},
    {"Windows 2000", 1455, 0x00C8D0D4},
    {"Windows 98", 1455, 0x00BFBFBF},
    {QT_TRANSLATE_NOOP("pixtint::ButtonColourDialog", "現在のボタン色"), 1575,
     ColourValue::ButtonFace},
}};

} // namespace

ButtonColourDialog::ButtonColourDialog(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("frmWindowsButtonColor"));
    setWindowTitle(tr("Windowsのボタン色から指定"));
    setModal(true);
    if (owner != nullptr) {
        // Drawn in the owner's font, for which the design sizes were made, and in its colours,
        // so that the current button colour shows as the owner's conversion will write it.
        setFont(owner->window()->font());
        setPalette(owner->window()->palette());
    }
    setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    createControls();
    fitChoiceCaptions();
}

std::optional<std::int32_t> ButtonColourDialog::ask(QWidget* owner) {
    ButtonColourDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosenColour();
}

void ButtonColourDialog::createControls() {
    for (int i = 0; i < ChoiceCount; ++i) {
        const double rowTop = 120 + 360 * i;
        choices_[i] = placeControl<QRadioButton>(this, indexedName("Option1", i),
                                                 {120, rowTop, Choices[i].captionWidth, 255});
        choices_[i]->setText(tr(Choices[i].caption));
        swatches_[i] =
            placeControl<Swatch>(this, indexedName("Label1", i), {1680, rowTop, 255, 255});
        swatches_[i]->setColourValue(Choices[i].colour);
    }
    auto* setButton =
        placeControl<PushButton>(this, indexedName("Command1", 0), {2160, 840, 855, 375});
    setButton->setText(tr("設 定"));
    auto* closeButton =
        placeControl<PushButton>(this, indexedName("Command1", 1), {2160, 1200, 855, 375});
    closeButton->setText(tr("閉じる"));
    choices_[ChoiceCount - 1]->setChecked(true);
    connect(setButton, &QPushButton::clicked, this, &ButtonColourDialog::setChosenColour);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ButtonColourDialog::fitChoiceCaptions() {
    // The choices share one size, the one the longest of them needs, so that the column reads
    // evenly.
    double pointSize = font().pointSizeF();
    for (QRadioButton* choice : choices_) {
        shrinkFontToSizeHint(*choice);
        pointSize = std::min(pointSize, choice->font().pointSizeF());
    }
    for (QRadioButton* choice : choices_) {
        QFont font = choice->font();
        font.setPointSizeF(pointSize);
        choice->setFont(font);
    }
    widenForCaptions();
}

// A caption that does not fit even in the smallest font (a long translation) widens the
// dialog: the captions get what they lack, and the swatches and buttons move right by as much.
void ButtonColourDialog::widenForCaptions() {
    int lacking = 0;
    for (const QRadioButton* choice : choices_) {
        lacking = std::max(lacking, choice->sizeHint().width() - choice->width());
    }
    if (lacking <= 0) {
        return;
    }
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QRadioButton*>(control) != nullptr) {
            control->resize(control->width() + lacking, control->height());
        } else {
            control->move(control->x() + lacking, control->y());
        }
    }
    setFixedSize(width() + lacking, height());
}

void ButtonColourDialog::setChosenColour() {
    for (int i = 0; i < ChoiceCount; ++i) {
        if (choices_[i]->isChecked()) {
            chosen_ = swatches_[i]->colourValue();
            break;
        }
    }
    accept();
}

} // namespace pixtint
