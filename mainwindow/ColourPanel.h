// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/SessionState.h"

#include <QGroupBox>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

namespace pixtint {

class Dialogs;
class Swatch;

// The colour panel: the before and after swatches and, for each, the buttons that choose it
// from the colour dialog, from a pixel picked on a preview, or from the button colours.
class ColourPanel : public QGroupBox {
    Q_OBJECT
public:
    ColourPanel(QWidget* container, Dialogs& dialogs);

    // The swatches paint the session's colours; a colour the user chooses is only told
    // (colourChosen), and shown once the session holds it.
    void showColours(const ColourValuePair& colours);
    // A pick taking its colour: the colour of the picture's pixel it was taken on, or, with
    // none, the colour on screen under the pointer.
    void takePickedColour(Side side, const std::optional<QColor>& pictureColour);

    void setInputEnabled(bool enabled);
    // The pick of a side is offered only while the preview it reads shows a picture.
    void offerPick(Side side, bool offered);
    // The colour buttons row by row: the before row, then the after row.
    std::vector<QWidget*> tabOrder() const;

signals:
    // The user chose a new colour value for a side.
    void colourChosen(Side side, std::int32_t value);
    // The user asked to pick the side's colour from its preview.
    void pickRequested(Side side);

private:
    // The three ways to a colour, in the order of the buttons.
    enum class Source { ColourDialog, Pick, ButtonColours };
    static constexpr int SourceCount = 3;

    struct Row {
        QLabel* caption = nullptr;
        Swatch* swatch = nullptr;
        std::array<QPushButton*, SourceCount> buttons{};
    };

    void createRow(Side side);
    void colourButtonClicked(Source source, Side side);
    const Row& row(Side side) const { return rows_[static_cast<int>(side)]; }

    Dialogs& dialogs_;
    std::array<Row, 2> rows_{};
};

} // namespace pixtint
