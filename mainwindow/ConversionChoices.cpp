#include "mainwindow/frmMain.h"
#include "platform/ColorValue.h"

namespace pixtint {

// A system colour in a swatch stands for the colour this window paints its background with.
Rgb frmMain::ResolvedSwatchColor(int index) const {
    const std::int32_t value = Label3[index]->BackColor();
    const QColor colour = ColorValue::isSystemColor(value) ? palette().color(QPalette::Window)
                                                           : ColorValue::toColor(value);
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

// What the controls ask for at this moment, in the plain colours the conversion works with.
ConversionRequest frmMain::CurrentRequest() const {
    ConversionRequest request;
    request.pairs = {{ResolvedSwatchColor(0), ResolvedSwatchColor(1)}};
    if (Check2->Value() == 1) {
        request.growth = Option1[0]->Value() ? Growth::Top : Growth::Bottom;
    }
    request.keepBackup = Check1->Value() == 1;
    return request;
}

} // namespace pixtint
