// SPDX-License-Identifier: MIT
#include "mainwindow/ColourPanel.h"

#include "desktop/CursorPixelColour.h"
#include "dialogs/Dialogs.h"
#include "widgets/ColourValue.h"
#include "widgets/ControlPlacement.h"
#include "widgets/FontFit.h"
#include "widgets/FrameTitle.h"
#include "widgets/PushButton.h"
#include "widgets/Swatch.h"

#include <QIcon>
#include <QLabel>
#include <optional>

namespace pixtint {

ColourPanel::ColourPanel(QWidget* container, Dialogs& dialogs)
    : QGroupBox(container)
    , dialogs_(dialogs) {
    setObjectName(QStringLiteral("Frame3"));
    placeInTwips(*this, {120, 360, 3015, 1215});
    setTitle(tr("色"));
    putTitleInBorder(*this);
    createRow(Side::Before);
    createRow(Side::After);
}

// The controls keep the numbering of their arrays: the before side is index 0 of the captions
// and swatches, and the even members of the button array, which runs source by source.
void ColourPanel::createRow(Side side) {
    const bool before = side == Side::Before;
    const int index = before ? 0 : 1;
    Row& row = rows_[index];
    row.caption = placeControl<QLabel>(this, indexedName("Label4", index),
                                       {120, before ? 360.0 : 810.0, 855, 195});
    row.caption->setText(before ? tr("変換前色：") : tr("変換後色："));
    shrinkFontToFit(*row.caption, row.caption->text(), 2);
    row.swatch = placeControl<Swatch>(this, indexedName("Label3", index),
                                      {2520, before ? 277.0 : 757.0, 300, 300});
    row.swatch->setToolTip(before ? tr("変換前色") : tr("変換後色"));

    const std::array<QString, SourceCount> tips =
        before ? std::array{tr("変換前色を色選択ダイアログから指定"), tr("変換前色を画像から抽出"),
                            tr("変換前色をWindowsのボタン色から指定")}
               : std::array{tr("変換後色を色選択ダイアログから指定"), tr("変換後色を画像から抽出"),
                            tr("変換後色をWindowsのボタン色から指定")};
    const std::array<QString, SourceCount> pictures{QStringLiteral(":/icons/colour-dialog.svg"),
                                                    QStringLiteral(":/icons/colour-pick.svg"),
                                                    QStringLiteral(":/icons/button-colour.svg")};
    for (int kind = 0; kind < SourceCount; ++kind) {
        QPushButton* button =
            placeControl<PushButton>(this, indexedName("Command5", 2 * kind + index),
                                     {960.0 + 480 * kind, before ? 240.0 : 720.0, 495, 375});
        button->setToolTip(tips[kind]);
        button->setIcon(QIcon(pictures[kind]));
        button->setIconSize(QSize(16, 16));
        const auto source = static_cast<Source>(kind);
        connect(button, &QPushButton::clicked, this,
                [this, source, side] { colourButtonClicked(source, side); });
        row.buttons[kind] = button;
    }
}

void ColourPanel::showColours(const ColourValuePair& colours) {
    row(Side::Before).swatch->setColourValue(colours.from);
    row(Side::After).swatch->setColourValue(colours.to);
}

void ColourPanel::takePickedColour(Side side, const std::optional<QColor>& pictureColour) {
    emit colourChosen(side, pictureColour ? ColourValue::fromColour(*pictureColour)
                                          : cursorPixelColour(window()));
}

std::vector<QWidget*> ColourPanel::tabOrder() const {
    std::vector<QWidget*> order;
    for (const Row& each : rows_) {
        order.insert(order.end(), each.buttons.begin(), each.buttons.end());
    }
    return order;
}

void ColourPanel::setInputEnabled(bool enabled) {
    for (const Row& each : rows_) {
        each.caption->setEnabled(enabled);
        each.swatch->setEnabled(enabled);
        for (QPushButton* button : each.buttons) {
            button->setEnabled(enabled);
        }
    }
}

void ColourPanel::offerPick(Side side, bool offered) {
    const Row& each = row(side);
    each.buttons[static_cast<int>(Source::Pick)]->setEnabled(offered && each.caption->isEnabled());
}

void ColourPanel::colourButtonClicked(Source source, Side side) {
    switch (source) {
    case Source::ColourDialog:
        // Cancelled, the swatch keeps its colour, and nothing is said.
        if (const std::optional<QColor> colour = dialogs_.chooseColour(window())) {
            emit colourChosen(side, ColourValue::fromColour(*colour));
        }
        break;
    case Source::Pick:
        emit pickRequested(side);
        break;
    case Source::ButtonColours:
        if (const std::optional<std::int32_t> value = dialogs_.chooseButtonColour(window())) {
            emit colourChosen(side, *value);
        }
        break;
    }
}

} // namespace pixtint
