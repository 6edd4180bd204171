#include "platform/OptionButton.h"

namespace pixtint {

OptionButton::OptionButton(QWidget* parent)
    : Control<QRadioButton>(parent) {
    connect(this, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected) {
            emit Click();
        }
    });
}

void OptionButton::setValue(bool selected) {
    if (selected == isChecked()) {
        return;
    }
    if (selected) {
        setChecked(true); // raises Click through toggled
        return;
    }
    // An exclusive button refuses to be unchecked directly.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
    emit Click();
}

} // namespace pixtint
