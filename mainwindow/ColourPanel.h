#pragma once

#include "engine/ColourMap.h"
#include "platform/Frame.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pixtint {

class CommandButton;
class Dialogs;
class Label;
class Swatch;

// The colour panel: the before and after swatches and, for each, the buttons that set it
// from the colour dialog, from a pixel picked on a preview, or from the button colours.
class ColourPanel : public Frame {
    Q_OBJECT
public:
    static constexpr int BeforeSwatch = 0;
    static constexpr int AfterSwatch = 1;

    ColourPanel(QWidget* container, Dialogs& dialogs);

    void showColours(std::int32_t before, std::int32_t after);
    // The colour a swatch shows, as the conversion writes it: a system colour is the colour
    // the window paints its background with.
    Rgb shownColour(int swatch) const;
    // Sets the swatch to the colour on screen under the pointer: a pick taking its colour.
    void takeColourUnderPointer(int swatch);

    void setInputEnabled(bool enabled);
    // The colour buttons row by row: the before row, then the after row.
    std::vector<QWidget*> tabOrder() const;

signals:
    // The user gave a swatch a new colour value.
    void colourChosen(int swatch, std::int32_t value);
    // The user asked to pick the swatch's colour from its preview.
    void pickRequested(int swatch);

private:
    enum class Source { ColourDialog, Pick, ButtonColours };

    void createControls();
    void colourButtonClicked(Source source, int swatch);
    void chooseFromColourDialog(int swatch);
    void chooseFromButtonColours(int swatch);
    void setColour(int swatch, std::int32_t value);

    Dialogs& dialogs_;
    std::array<Label*, 2> captions_{};
    std::array<Swatch*, 2> swatches_{};
    std::array<CommandButton*, 6> colourButtons_{}; // by source, then before / after
};

} // namespace pixtint
