#include "mainwindow/ColourPanel.h"

#include "coloursources/GetMouseMoveColor.h"
#include "engine/AppError.h"
#include "mainwindow/ControlPlacement.h"
#include "platform/ColorValue.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/Swatch.h"

#include <QIcon>
#include <limits>
#include <optional>

namespace pixtint {

namespace {

// The button-colour dialog's answer, the decimal text of a colour value.
std::int32_t colourValueFromAnswer(const QString& answer) {
    bool isNumber = false;
    const qlonglong value = answer.trimmed().toLongLong(&isNumber);
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

ColourPanel::ColourPanel(QWidget* container, Dialogs& dialogs)
    : Frame(container)
    , dialogs_(dialogs) {
    setObjectName(QStringLiteral("Frame3"));
    Move(120, 360, 3015, 1215);
    setCaption(QStringLiteral("色"));
    createControls();
    for (int i = 0; i < 6; ++i) {
        const auto source = static_cast<Source>(i / 2);
        connect(colourButtons_[i], &QPushButton::clicked, this,
                [this, source, i] { colourButtonClicked(source, i % 2); });
    }
}

void ColourPanel::createControls() {
    const std::array<QString, 2> captions{QStringLiteral("変換前色："),
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
        captions_[i] = placeControl<Label>(this, indexedName("Label4", i), 120,
                                           360 + (i == 0 ? 0 : 450), 855, 195);
        captions_[i]->setCaption(captions[i]);
        captions_[i]->fitFontTo(captions[i], 2);
        swatches_[i] =
            placeControl<Swatch>(this, indexedName("Label3", i), 2520, 277 + rowTop, 300, 300);
        swatches_[i]->setToolTipText(swatchTips[i]);
    }
    for (int i = 0; i < 6; ++i) {
        const int kind = i / 2;
        colourButtons_[i] = placeControl<CommandButton>(
            this, indexedName("Command5", i), 960 + 480 * kind, i % 2 == 0 ? 240 : 720, 495, 375);
        colourButtons_[i]->setToolTipText(buttonTips[i]);
        colourButtons_[i]->setIcon(QIcon(buttonPictures[kind]));
        colourButtons_[i]->setIconSize(QSize(16, 16));
    }
}

void ColourPanel::showColours(std::int32_t before, std::int32_t after) {
    swatches_[BeforeSwatch]->setBackColor(before);
    swatches_[AfterSwatch]->setBackColor(after);
}

Rgb ColourPanel::shownColour(int swatch) const {
    const QColor colour = swatches_[swatch]->ShownColor();
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

void ColourPanel::takeColourUnderPointer(int swatch) {
    setColour(swatch, GetCursorPixelColor(window()));
}

std::vector<QWidget*> ColourPanel::tabOrder() const {
    return {colourButtons_[0], colourButtons_[2], colourButtons_[4],
            colourButtons_[1], colourButtons_[3], colourButtons_[5]};
}

void ColourPanel::setInputEnabled(bool enabled) {
    for (Label* label :
         std::initializer_list<Label*>{captions_[0], captions_[1], swatches_[0], swatches_[1]}) {
        label->setEnabled(enabled);
    }
    for (CommandButton* button : colourButtons_) {
        button->setEnabled(enabled);
    }
}

void ColourPanel::colourButtonClicked(Source source, int swatch) {
    try {
        switch (source) {
        case Source::ColourDialog:
            chooseFromColourDialog(swatch);
            break;
        case Source::Pick:
            emit pickRequested(swatch);
            break;
        case Source::ButtonColours:
            chooseFromButtonColours(swatch);
            break;
        }
    } catch (const AppError& error) {
        dialogs_.ShowError(window(), error, QStringLiteral("MakeListエラー"));
    }
}

void ColourPanel::chooseFromColourDialog(int swatch) {
    const std::optional<QColor> colour = dialogs_.ShowColor(window());
    if (!colour) {
        return; // cancelled: the swatch keeps its colour, and nothing is said
    }
    setColour(swatch, ColorValue::fromColor(*colour));
}

// Each opening gets an answer of its own, so a stale answer is never read again.
void ColourPanel::chooseFromButtonColours(int swatch) {
    QString answer;
    dialogs_.ShowButtonColorDialog(window(), answer);
    if (!answer.isEmpty()) {
        setColour(swatch, colourValueFromAnswer(answer));
    }
}

// Choosing a colour only changes the swatch: the next preview converts with it.
void ColourPanel::setColour(int swatch, std::int32_t value) {
    swatches_[swatch]->setBackColor(value);
    emit colourChosen(swatch, value);
}

} // namespace pixtint
